// The settings reader over a store whose every answer comes from the input: it never fails, and
// what it read, written back and read again, writes back the same.
#include "app/Settings.h"

#include "app/Module.h"
#include "app/SettingsStore.h"
#include "support/FakeServices.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace twinscan;
using twinscan::test::MemorySettingsStore;

namespace {

// Answers each question with the input's next NUL-separated word, or with the default once the
// words run out or when the word is a lone 0x01 (a missing key).
class InputStore final : public SettingsStore
{
public:
    explicit InputStore(const QByteArray &input) : words_(input.split('\0')) { }
    QString value(const QString &, const QString &defaultValue) const override
    {
        if (next_ >= words_.size() || words_[next_] == "\x01") {
            ++next_;
            return defaultValue;
        }
        return QString::fromUtf8(words_[next_++]);
    }
    void setValue(const QString &, const QString &) override { std::abort(); }
    void updateValue(const QString &, Update) override { std::abort(); }

private:
    QList<QByteArray> words_;
    mutable qsizetype next_ = 0;
};

// Saves as a normal window at the recorded place, so that saving changes no record, into an
// empty store: every count read is then this run's to add.
MemorySettingsStore saved(Module &module)
{
    MemorySettingsStore store;
    module.loadedStatistics = {};
    const MainWindowPlacement &placement = module.mainPlacement;
    saveSettings(store, module, {windowStateNormal, placement.left, placement.top});
    return store;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::int32_t screen[2] = {};
    if (size < sizeof screen)
        return 0;
    std::memcpy(screen, data, sizeof screen);
    const QSize screenTwips(screen[0], screen[1]);
    const QByteArray words(
        reinterpret_cast<const char *>(data) + sizeof screen, qsizetype(size - sizeof screen));

    Module first;
    loadSettings(InputStore(words), first, screenTwips);
    const MemorySettingsStore once = saved(first);
    Module second;
    loadSettings(once, second, screenTwips);
    if (saved(second).values != once.values)
        std::abort();
    return 0;
}
