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
    KeySpec spec;
    const int kind = numberOr(store.value(kindKey, u"0"_s), 0);
    if (kind > int(KeySpec::Kind::Characters))
        return {};
    spec.kind = KeySpec::Kind(kind);
    spec.fields = parseFieldList(store.value(fieldsKey, {})).value_or(std::vector<int> {});
    spec.separator = store.value(separatorKey, {}).toStdString();
    spec.csv = store.value(csvKey, u"0"_s) == u"1"_s;
    spec.pattern = store.value(patternKey, {});
    spec.skipChars = numberOr(store.value(skipKey, u"0"_s), 0);
    spec.checkChars = numberOr(store.value(checkKey, u"0"_s), 0);
    return keySpecError(spec).isEmpty() ? spec : KeySpec {};
}

// Every key is written, whichever kind is chosen, so that the dialog offers the last fields or
// expression again when the user switches back to them.
void writeKeySpec(SettingsStore &store, const KeySpec &spec)
{
    store.setValue(kindKey, QString::number(int(spec.kind)));
    store.setValue(fieldsKey, fieldListText(spec.fields));
    store.setValue(separatorKey, QString::fromStdString(spec.separator));
    store.setValue(csvKey, spec.csv ? u"1"_s : u"0"_s);
    store.setValue(patternKey, spec.pattern);
    store.setValue(skipKey, QString::number(spec.skipChars));
    store.setValue(checkKey, QString::number(spec.checkChars));
}

} // namespace twinscan
