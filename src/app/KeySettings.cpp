#include "app/KeySettings.h"

#include "app/SettingsStore.h"

namespace twinscan {

using namespace Qt::StringLiterals;

namespace {
const QString kindKey = u"compareKind"_s;
const QString fieldsKey = u"compareFields"_s;
const QString separatorKey = u"compareSeparator"_s;
const QString csvKey = u"compareCsv"_s;
const QString patternKey = u"comparePattern"_s;
const QString skipKey = u"compareSkipChars"_s;
const QString checkKey = u"compareCheckChars"_s;

int numberOr(const QString &text, int fallback)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 ? value : fallback;
}
} // namespace

KeySpec readKeySpec(const SettingsStore &store)
{
    KeySpec keySpec;
    const int kind = numberOr(store.value(kindKey, u"0"_s), 0);
    if (kind > int(KeySpec::Kind::Characters))
        return {};
    keySpec.kind = KeySpec::Kind(kind);
    keySpec.fields = parseFieldList(store.value(fieldsKey, {})).value_or(std::vector<int> {});
    keySpec.separator = store.value(separatorKey, {}).toStdString();
    keySpec.csv = store.value(csvKey, u"0"_s) == u"1"_s;
    keySpec.pattern = store.value(patternKey, {});
    keySpec.skipChars = numberOr(store.value(skipKey, u"0"_s), 0);
    keySpec.checkChars = numberOr(store.value(checkKey, u"0"_s), 0);
    return keySpecError(keySpec).isEmpty() ? keySpec : KeySpec {};
}

// Every key is written, whichever kind is chosen, so that the dialog offers the last fields or
// expression again when the user switches back to them.
void writeKeySpec(SettingsStore &store, const KeySpec &keySpec)
{
    store.setValue(kindKey, QString::number(int(keySpec.kind)));
    store.setValue(fieldsKey, fieldListText(keySpec.fields));
    store.setValue(separatorKey, QString::fromStdString(keySpec.separator));
    store.setValue(csvKey, keySpec.csv ? u"1"_s : u"0"_s);
    store.setValue(patternKey, keySpec.pattern);
    store.setValue(skipKey, QString::number(keySpec.skipChars));
    store.setValue(checkKey, QString::number(keySpec.checkChars));
}

} // namespace twinscan
