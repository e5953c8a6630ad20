<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>CopyCommand</name>
    <message>
        <source>Not enough memory to copy the lines to the clipboard.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copying to the clipboard... %1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped: nothing was copied.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 line copied to the clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 lines copied to the clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file does not fit in memory: its lines cannot be copied.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DuplicatesMenu</name>
    <message>
        <source>Popup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy to Clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All but first duplicate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All but last duplicate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort by count</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort by first occurrence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Report…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Duplicates Only…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Removed Lines…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileReplacement</name>
    <message>
        <source>Can&apos;t write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FilterRun</name>
    <message>
        <source>standard input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>looks like a binary or UTF-32 file; Twinscan reads 8-bit, UTF-8 and UTF-16 text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, %1 removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>finding duplicates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>writing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>twinscan: %1: %2 read, %3 of them in %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 group of equal lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 groups of equal lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is the input, which a report does not replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>does not fit in memory, where only --keep, --unique and --check work; -S SIZE sets the memory to use</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no folder on a disk can take the temporary files; TWINSCAN_TMPDIR names one</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>writing the report</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpDocument</name>
    <message>
        <source>The help document was not found. It should be one of these files:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The help document %1 could not be opened: the desktop has no application to show it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LineReader</name>
    <message>
        <source>holds a line of more than %1 MB, more than the memory Twinscan may use</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LoadedText</name>
    <message>
        <source>The file has more lines than Twinscan can hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is too large for Twinscan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file changed while it was being read</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OutOfCoreScan</name>
    <message>
        <source>looks like a binary or UTF-32 file; Twinscan reads 8-bit, UTF-8 and UTF-16 text</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OutputCommand</name>
    <message>
        <source>The file does not fit in memory: its groups cannot be listed or saved apart.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No file selected...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough memory to save %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No lines are marked: nothing would be removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No duplicate lines to save.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is the scanned file, which this command does not replace. Please choose another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving Report...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving Duplicates...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving Removed Lines...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done! Report saved to %1 (Processing time: %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done! Duplicate lines saved to %1 (Processing time: %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done! Removed lines saved to %1 (Processing time: %2)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open a text file and scan for duplicates lines.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop processing!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saves the file with checked duplicates removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View the file with duplicate lines marked red.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the Settings window.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display information about Twinscan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the help.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close Twinscan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This list contains the source file that has been scanned for duplicates.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duplicates Found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This list contains all duplicates found. Right click for a popup menu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source file lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duplicate lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No recent files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Twinscan help (ReadMe.html)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo Marking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take back the last change of the marks.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo Marking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the marks again as undone.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecentlyUsedList</name>
    <message>
        <source>%1 is not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t read %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not an XBEL document</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RemovalWriter</name>
    <message>
        <source>Saved without some extended attributes of the file replaced: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is the file being read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another file took its name during the save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t write %1: %2. The saved text is kept whole in %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t find original file!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file has changed since it was scanned. Please scan it again before saving.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SaveCommand</name>
    <message>
        <source>Not enough memory to save the file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough memory to save %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select lines to remove by marking them in the duplicates list!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No file selected...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new filename does not contain an extension. Would you
like to add the same as the original filename? (Recommended)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving File... %1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done! (Processing time: %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done! (Interrupted by User)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped: nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SaveTarget</name>
    <message>
        <source>it is a symbolic link of another user in a shared folder, which is not followed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a FIFO of another user in a shared folder, which is not written, as its owner could read what it is given</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScanCommand</name>
    <message>
        <source>Loading file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough memory to scan %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Can&apos;t Open File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: File Is Empty!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Error! (%1: %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Error! (%1: no folder on a disk can take the temporary files; TWINSCAN_TMPDIR names one)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Processing File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Processing File... %1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 looks like a binary or UTF-32 file; Twinscan reads 8-bit, UTF-8 and UTF-16 text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This file contains more than 32768 lines! You can still use Twinscan as usual, but the result will not be displayed visually...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading file... %1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Loaded!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanned %1 Lines: Found %2 Duplicate Lines with %3 Unique Duplicates! (Processing time: %4)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Duplicate Lines Found... (Processing time: %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Duplicate Lines Found (Interuppted By User) (Processing time: %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Duplicate Lines Found (Interuppted By User) (Processing time: %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not listed: the file does not fit in memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right-click: mark by a rule, then Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> The file does not fit in memory: mark its duplicates with the rules of this list&apos;s menu, then save; it cannot be viewed or copied.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScannedTextCheck</name>
    <message>
        <source>The file has changed since it was scanned. Please scan it again before copying.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file has changed since it was scanned. Please scan it again before viewing it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file has changed since it was scanned. Please scan it again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SpillFolder</name>
    <message>
        <source>needs about %1 GB of free space in %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t write a temporary file in %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>twinscan::ListBoxModel</name>
    <message>
        <source>line %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>twinscan::ListInteractions</name>
    <message>
        <source>Line %1 · duplicate %2 of %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>twinscan::ScanSession</name>
    <message>
        <source>1 line marked for removal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 lines marked for removal</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>twinscan::ViewerFindBar</name>
    <message>
        <source>Match &amp;case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fi&amp;nd:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>twinscan::ViewerModel</name>
    <message>
        <source>Line</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>twinscan::frmAbout</name>
    <message>
        <source>Made by Corvane.
Copyright © 2026 Corvane.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The page %1 could not be opened: the desktop has no application to show it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>twinscan::frmMain</name>
    <message>
        <source> - Press F1 for Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> - finds and removes duplicate lines. Made by Corvane.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please stop the scan, the save or the copy before closing Twinscan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 no longer exists and was removed from the recent files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough memory to show the file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to stop processing?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No preview available...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>twinscan::frmView</name>
    <message>
        <source>Twinscan Viewer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find Pre&amp;vious</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Go to Line...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next &amp;Duplicate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Previous Duplicate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> · duplicate %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line number (1 - %1):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search stopped.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
