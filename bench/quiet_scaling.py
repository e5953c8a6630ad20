#!/usr/bin/env python3
"""Engine scan on 1 and N threads, alternating, counting only the runs that had the machine to
themselves.

    bench/quiet_scaling.py BINARY FILE [REPS] [THREADS...]
    bench/quiet_scaling.py build-bench/bench/twinscan_bench bench/data/lines-10M.txt 7 1 2

On a shared machine another process that takes a core for part of a run makes two threads look
no faster than one. For every run this reads the processor time the whole machine spent
(/proc/stat) and takes away the run's own; a run during which other processes used more than
MAXOTHER processor seconds (default 0.15) is printed but left out of the medians.
"""
import os
import re
import statistics
import subprocess
import sys
import time


def busy_seconds():
    fields = [int(x) for x in open('/proc/stat').readline().split()[1:9]]
    return (sum(fields) - fields[3] - fields[4]) / os.sysconf('SC_CLK_TCK')


def run_once(binary, path, threads):
    env = dict(os.environ, TWINSCAN_THREADS=str(threads))
    before, times = busy_seconds(), os.times()
    start = time.monotonic()
    out = subprocess.run([binary, 'scan', path], env=env, capture_output=True, text=True,
                         check=True).stdout
    wall = time.monotonic() - start
    after = os.times()
    own = (after.children_user + after.children_system
           - times.children_user - times.children_system)
    other = busy_seconds() - before - own
    row = {'wall': wall, 'checksum': re.search(r'checksum=(\w+)', out)[1]}
    for kind in ('elapsed', 'cpu'):
        phases = re.search(kind + r':\s+load=([\d.]+) fill=([\d.]+) group=([\d.]+)', out)
        for name, value in zip(('load', 'fill', 'group'), phases.groups()):
            row[name if kind == 'elapsed' else name + ' cpu'] = float(value)
    return row, other


def main():
    binary, path = sys.argv[1], sys.argv[2]
    reps = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    counts = [int(t) for t in sys.argv[4:]] or [1, 2]
    limit = float(os.environ.get('MAXOTHER', '0.15'))
    kept = {t: [] for t in counts}
    print('load average at the start:', open('/proc/loadavg').read().split()[:3])
    for rep in range(reps):
        for threads in counts:
            row, other = run_once(binary, path, threads)
            print(f'{threads} threads: {row["wall"]:.3f} s, others used {other:.2f} s')
            if other <= limit:
                kept[threads].append(row)
    base = None
    for threads in counts:
        rows = kept[threads]
        if not rows:
            print(f'{threads} threads: no quiet run')
            continue
        medians = {k: statistics.median(r[k] for r in rows) for k in rows[0] if k != 'checksum'}
        base = base or medians
        text = ' '.join(f'{k}={v:.3f} ({v / base[k]:.2f})' for k, v in medians.items())
        sums = sorted({r['checksum'] for r in rows})
        print(f'{threads} threads, {len(rows)} quiet runs: {text} checksum={",".join(sums)}')


if __name__ == '__main__':
    main()
