#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <functional>
#include <memory>
#include <utility>

class QSettings;

namespace twinscan {

// The per-user store of the settings: text values by key, all in the application "Corvane",
// section "Twinscan". Tests put an in-memory store in place of the desktop's.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `defaultValue` when the key does not exist.
    virtual QString value(const QString &key, const QString &defaultValue) const = 0;
    // Creates or replaces the key.
    virtual void setValue(const QString &key, const QString &text) = 0;
    // Sets the key, when the store is written, from the text it holds then (empty when missing),
    // so that the counters of two runs that close one after the other both count.
    using Update = std::function<QString(const QString &storedNow)>;
    virtual void updateValue(const QString &key, Update update) = 0;
};

// The store in an INI file: $XDG_CONFIG_HOME/Corvane/Twinscan.ini, keys in its [Twinscan] group.
// When a file it would read is not a regular file (a FIFO would block the program at start), the
// store is passed over: it is never opened, every value is its default and nothing is written.
// Changes are kept in memory until save().
class QSettingsStore final : public SettingsStore
{
public:
    QSettingsStore();
    // The same layout in a file of the caller's choosing.
    explicit QSettingsStore(const QString &fileName);
    ~QSettingsStore() override;

    QString value(const QString &key, const QString &defaultValue) const override;
    void setValue(const QString &key, const QString &text) override;
    void updateValue(const QString &key, Update update) override;
    // Writes the changes, if any, under the file's lock: the file is replaced whole, or left as it
    // was when its lock cannot be taken within a second or it cannot be written. Returns why the
    // settings were not saved, or empty.
    QString save();
    QString fileName() const;
    // The file that made the store be passed over, or empty.
    QString unusableFile() const { return unusableFile_; }

private:
    std::unique_ptr<QSettings> settings_;
    QString unusableFile_;
    QMap<QString, QString> changes_;
    QList<std::pair<QString, Update>> updates_;
};

} // namespace twinscan
