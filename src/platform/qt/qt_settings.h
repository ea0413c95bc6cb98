#pragma once

#include <QString>
#include <QVariantMap>
#include <memory>
#include <set>

#include "common/platform.h"
#include "platform/qt/private_files.h"

class QSettings;

namespace tamsel::qt {

// The settings store over QSettings. Every write is on disk, readable by its
// owner only, when the call returns. Numbers come back as text from a file:
// they are converted here, and text that is no number reads 0. Texts come
// back in Unicode's composed form (NFC), as the dialogs hand typed ones in.
// A settings folder that is not a real folder of this user, or a file that
// is a link or not the user's, is neither read nor written: said once, and
// the store then holds this run's values in memory.
class QtSettings : public SettingsStore {
public:
    // The user's settings: $XDG_CONFIG_HOME/tamsel/tamsel.conf on Linux.
    QtSettings();
    // A settings file of the same format at this path.
    explicit QtSettings(const QString& path);
    ~QtSettings() override;
    QtSettings(const QtSettings&) = delete;
    QtSettings& operator=(const QtSettings&) = delete;

    long long integerForKey(std::string_view key) override;
    void setInteger(std::string_view key, long long value) override;
    double doubleForKey(std::string_view key) override;
    void setDouble(std::string_view key, double value) override;
    std::optional<std::string> stringForKey(std::string_view key) override;
    void setString(std::string_view key, const std::string& value) override;

    QString fileName() const;

    // A file bigger than this is not one Tamsel wrote.
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

private:
    using Factory = std::unique_ptr<QSettings> (*)(const QString&);
    void open(Factory make, const QString& path);
    // True when the folder or file is not safely the user's; the first
    // write says so, once.
    bool refused(Create create);
    void recoverDamagedFile(Factory make, const QString& path);
    void save();
    QVariant value(std::string_view key) const;
    void store(std::string_view key, const QVariant& value);

    std::unique_ptr<QSettings> settings_;  // none once refused at the start
    QString file_;
    bool ini_ = false;
    QString refusal_;
    QVariantMap held_;  // what could not be written, for this run
    std::set<std::string, std::less<>> undecodableReported_;
    bool writeFailureReported_ = false;
};

}  // namespace tamsel::qt
