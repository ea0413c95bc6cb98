#include "platform/qt/qt_settings.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QVariantMap>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/qt/desktop/user_notice.h"
#include "platform/qt/text.h"

namespace tamsel::qt {

namespace {

// Out of range saturates, as a hand-edited "99999999999999999999" would on
// the original platform; the cast itself would be undefined.
long long saturated(double value) {
    if (!std::isfinite(value)) return 0;
    const double whole = std::trunc(value);
    if (whole >= 9223372036854775808.0) return std::numeric_limits<long long>::max();
    if (whole <= -9223372036854775808.0) return std::numeric_limits<long long>::min();
    return static_cast<long long>(whole);
}

long long integerFromText(const QString& text) {
    const QString s = text.trimmed();
    bool ok = false;
    const long long whole = s.toLongLong(&ok, 10);
    if (ok) return whole;
    const double number = s.toDouble(&ok);
    return ok ? saturated(number) : 0;
}

bool isIntegerType(int id) {
    switch (id) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar: return true;
        default: return false;
    }
}

QString textOf(const QVariant& value) {
    // An unquoted value with commas in a hand-edited file reads as a list.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',');
    return value.toString();
}

bool isText(const QByteArray& bytes) {
    if (bytes.contains('\0')) return false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    [[maybe_unused]] const QString decoded = utf8(bytes);
    return !utf8.hasError();
}

// Drops the group and other bits, keeps the owner's own choice.
void ownerOnly(const QString& path, mode_t ownerBits) {
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) return;
    const mode_t wanted = st.st_mode & ownerBits;
    if ((st.st_mode & 07777) != wanted) ::chmod(native.constData(), wanted);
}

// Our own folder is created owner-only before the first file lands in it;
// the folder of a store outside one (macOS' Preferences) is left alone.
void preparePrivateFolder(const QString& file) {
    const QFileInfo info(file);
    const QString folder = info.absolutePath();
    if (QFileInfo(folder).fileName() != QLatin1String("tamsel")) return;
    if (!QFileInfo::exists(folder)) {
        QDir().mkpath(QFileInfo(folder).absolutePath());
        ::mkdir(QFile::encodeName(folder).constData(), 0700);
    }
    ownerOnly(folder, 0700);
}

// Moves a damaged file to "<file>.damaged" (replacing an older copy) and
// says so; false when it cannot be moved.
bool setAside(const QString& file, const QString& why, bool someKept) {
    const QString copy = file + QStringLiteral(".damaged");
    QFile::remove(copy);
    const bool moved =
        QFile::rename(file, copy) || (QFile::copy(file, copy) && QFile::remove(file));
    if (moved) {
        ownerOnly(copy, 0600);
        std::fprintf(stderr, "tamsel: the settings file %s %s. Its content is kept in %s; %s\n",
                     qPrintable(file), qPrintable(why), qPrintable(copy),
                     someKept ? "the settings that could be read are kept, the rest start afresh."
                              : "Tamsel starts with fresh settings.");
    } else {
        std::fprintf(stderr,
                     "tamsel: the settings file %s %s and could not be set aside; Tamsel uses "
                     "what it can read of it.\n",
                     qPrintable(file), qPrintable(why));
    }
    std::fflush(stderr);
    return moved;
}

std::unique_ptr<QSettings> userSettings(const QString&) {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("tamsel"), QStringLiteral("tamsel"));
}

std::unique_ptr<QSettings> fileSettings(const QString& path) {
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

}  // namespace

QtSettings::QtSettings() {
    open(userSettings, {});
}

QtSettings::QtSettings(const QString& path) {
    open(fileSettings, path);
}

QtSettings::~QtSettings() = default;

QString QtSettings::fileName() const {
    return settings_->fileName();
}

void QtSettings::open(Factory make, const QString& path) {
    // Where QSettings will look (Linux); a file far too big to be ours is set
    // aside before QSettings reads it all into memory.
    const QString expected =
        path.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                             QStringLiteral("/tamsel/tamsel.conf")
                       : path;
    if (QFileInfo(expected).isFile() && QFileInfo(expected).size() > kMaxFileSize)
        setAside(expected, QStringLiteral("is far too large to be a settings file"), false);

    settings_ = make(path);
    const QString file = settings_->fileName();
    const bool iniFile = settings_->format() == QSettings::IniFormat ||
                         file.endsWith(QLatin1String(".conf")) ||
                         file.endsWith(QLatin1String(".ini"));
    if (!iniFile || !QFileInfo(file).isFile()) return;
    recoverDamagedFile(make, path);
    // A file left readable to others (an older version, a copy) holds the
    // password: owner only from the start, not just after the next save.
    preparePrivateFolder(settings_->fileName());
    ownerOnly(settings_->fileName(), 0600);
}

// The first write would replace a damaged file with what QSettings could
// read of it. Before that, its content is set aside as "<file>.damaged" and
// the settings that did read are written back into a clean file.
void QtSettings::recoverDamagedFile(Factory make, const QString& path) {
    const QString file = settings_->fileName();
    QFile in(file);
    if (in.size() > kMaxFileSize || !in.open(QIODevice::ReadOnly)) return;  // a write reports it
    const bool text = isText(in.readAll());
    const QStringList keys = settings_->allKeys();  // parses every section
    if (text && settings_->status() == QSettings::NoError) return;

    // Random bytes parse into odd keys; only names such as ours are kept.
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    QVariantMap kept;
    for (const QString& key : keys)
        if (plainName.match(key).hasMatch()) kept.insert(key, settings_->value(key));
    settings_.reset();
    const bool setAsideDone = setAside(file,
                                       text ? QStringLiteral("has lines that are not settings")
                                            : QStringLiteral("holds bytes that are not text"),
                                       !kept.isEmpty());
    settings_ = make(path);
    if (!setAsideDone) return;
    for (auto it = kept.cbegin(); it != kept.cend(); ++it)
        settings_->setValue(it.key(), it.value());
    if (!kept.isEmpty()) save();
}

void QtSettings::save() {
    const QString file = settings_->fileName();
    preparePrivateFolder(file);
    settings_->sync();
    ownerOnly(file, 0600);
    if (settings_->status() == QSettings::AccessError && !writeFailureReported_) {
        writeFailureReported_ = true;
        std::fprintf(stderr,
                     "tamsel: could not save the settings to %s (the file or its folder cannot "
                     "be written). Changes made now are lost when Tamsel quits.\n",
                     qPrintable(file));
        std::fflush(stderr);
        // A line on stderr is seen by nobody who started Tamsel from a menu.
        tellUser(QStringLiteral("Tamsel cannot save its settings: %1 cannot be written (its "
                                "folder is missing, read-only or not a folder). Tamsel runs "
                                "with the settings it has, but changes made now are lost when "
                                "it quits.")
                     .arg(file));
    }
}

long long QtSettings::integerForKey(std::string_view key) {
    const QVariant value = settings_->value(toQString(key));
    if (!value.isValid()) return 0;
    if (value.typeId() == QMetaType::ULongLong) {
        const qulonglong big = value.toULongLong();
        return big > static_cast<qulonglong>(std::numeric_limits<long long>::max())
                   ? std::numeric_limits<long long>::max()
                   : static_cast<long long>(big);
    }
    if (isIntegerType(value.typeId())) return value.toLongLong();
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return saturated(value.toDouble());
    return integerFromText(textOf(value));
}

void QtSettings::setInteger(std::string_view key, long long value) {
    settings_->setValue(toQString(key), static_cast<qlonglong>(value));
    save();
}

double QtSettings::doubleForKey(std::string_view key) {
    const QVariant value = settings_->value(toQString(key));
    if (!value.isValid()) return 0.0;
    double number = 0.0;
    if (isIntegerType(value.typeId()) || value.typeId() == QMetaType::ULongLong ||
        value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        number = value.toDouble();
    } else {
        bool ok = false;
        number = textOf(value).trimmed().toDouble(&ok);
        if (!ok) return 0.0;
    }
    return std::isfinite(number) ? number : 0.0;
}

void QtSettings::setDouble(std::string_view key, double value) {
    settings_->setValue(toQString(key), value);
    save();
}

std::optional<std::string> QtSettings::stringForKey(std::string_view key) {
    const QVariant value = settings_->value(toQString(key));
    if (!value.isValid()) {
        if (!settings_->contains(toQString(key))) return std::nullopt;
        return std::string();
    }
    return textOf(value).toStdString();
}

void QtSettings::setString(std::string_view key, const std::string& value) {
    settings_->setValue(toQString(key), QString::fromStdString(value));
    save();
}

}  // namespace tamsel::qt
