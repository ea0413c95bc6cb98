#include "platform/qt/qt_settings.h"

#include <sys/stat.h>

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
#include "platform/qt/private_files.h"
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

// Drops the group and other bits, keeps the owner's own choice. A link is
// never followed.
void ownerOnly(const QString& path, mode_t ownerBits) {
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    const mode_t wanted = st.st_mode & ownerBits;
    if ((st.st_mode & 07777) != wanted) ::chmod(native.constData(), wanted);
}

// Our own folder is checked, made and kept owner-only; the folder of a store
// outside one (macOS' Preferences, a test's temporary folder) is left alone.
bool isOurFolder(const QString& folder) {
    return QFileInfo(folder).fileName() == QLatin1String("tamsel");
}

void sayOnStderr(const QString& text) {
    std::fprintf(stderr, "tamsel: %s\n", qPrintable(text));
    std::fflush(stderr);
}

// Moves a damaged file to "<file>.damaged" (replacing an older copy) and
// says so; false when it cannot be moved.
bool setAside(const QString& file, const QString& why, bool someKept) {
    const OwnerOnlyFiles ownerOnlyCopy;
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
    return file_;
}

void QtSettings::open(Factory make, const QString& path) {
    // Where QSettings will look (Linux). Checked before QSettings reads it:
    // a link or a file of another user could be anything (a device that
    // never ends); a file far too big to be ours is set aside unread.
    file_ = path.isEmpty()
                ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      QStringLiteral("/tamsel/tamsel.conf")
                : path;
    ini_ = true;
    if (refused(Create::No)) return;
    if (QFileInfo(file_).isFile() && QFileInfo(file_).size() > kMaxFileSize)
        setAside(file_, QStringLiteral("is far too large to be a settings file"), false);

    settings_ = make(path);
    file_ = settings_->fileName();
    ini_ = settings_->format() == QSettings::IniFormat || file_.endsWith(QLatin1String(".conf")) ||
           file_.endsWith(QLatin1String(".ini"));
    if (ini_ && refused(Create::No)) {
        settings_.reset();  // it has changed nothing, so it writes nothing
        return;
    }
    if (!ini_ || !QFileInfo(file_).isFile()) return;
    recoverDamagedFile(make, path);
    // A file left readable to others (an older version, a copy) holds the
    // password: owner only from the start, not just after the next save.
    ownerOnly(file_, 0600);
}

bool QtSettings::refused(Create create) {
    if (!refusal_.isEmpty()) return true;
    if (!ini_) return false;
    const QString folder = QFileInfo(file_).absolutePath();
    QString why;
    if (isOurFolder(folder)) {
        why = whyNotPrivateFolder(folder, create);
        if (!why.isEmpty())
            refusal_ = QCoreApplication::translate("Tamsel", "its folder %1 %2").arg(folder, why);
    }
    why = refusal_.isEmpty() ? whyNotWritable(file_) : QString();
    if (!why.isEmpty()) refusal_ = QCoreApplication::translate("Tamsel", "it %1").arg(why);
    return !refusal_.isEmpty();
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
    {
        const OwnerOnlyFiles ownerOnlyNewFiles;
        settings_->sync();
    }
    ownerOnly(file_, 0600);
    if (settings_->status() == QSettings::AccessError && !writeFailureReported_) {
        writeFailureReported_ = true;
        sayOnStderr(QStringLiteral("could not save the settings to %1 (the file or its folder "
                                   "cannot be written). Changes made now are lost when Tamsel "
                                   "quits.")
                        .arg(file_));
        // A line on stderr is seen by nobody who started Tamsel from a menu.
        tellUser(QCoreApplication::translate(
                     "Tamsel",
                     "Tamsel cannot save its settings: %1 cannot be written (its folder is "
                     "missing, read-only or not a folder). Tamsel runs with the settings it has, "
                     "but changes made now are lost when it quits.")
                     .arg(file_));
    }
}

QVariant QtSettings::value(std::string_view key) const {
    const QString name = toQString(key);
    if (const auto held = held_.constFind(name); held != held_.cend()) return *held;
    return settings_ ? settings_->value(name) : QVariant();
}

void QtSettings::store(std::string_view key, const QVariant& value) {
    // Checked again before every write: the folder is made here, and nothing
    // is ever written through a link that appeared meanwhile.
    if (!settings_ || refused(Create::Yes)) {
        held_.insert(toQString(key), value);
        if (!refusal_.isEmpty() && !writeFailureReported_) {
            writeFailureReported_ = true;
            sayOnStderr(QStringLiteral("could not save the settings to %1: %2. Tamsel neither "
                                       "reads nor writes there; it keeps reminding with its first "
                                       "settings, and changes made now are lost when it quits.")
                            .arg(file_, refusal_));
            tellUser(QCoreApplication::translate(
                         "Tamsel",
                         "Tamsel does not use its settings file %1: %2. It keeps reminding you "
                         "with its first settings, and changes made now are lost when it quits.")
                         .arg(file_, refusal_));
        }
        return;
    }
    settings_->setValue(toQString(key), value);
    save();
}

long long QtSettings::integerForKey(std::string_view key) {
    const QVariant value = this->value(key);
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
    store(key, static_cast<qlonglong>(value));
}

double QtSettings::doubleForKey(std::string_view key) {
    const QVariant value = this->value(key);
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
    store(key, value);
}

std::optional<std::string> QtSettings::stringForKey(std::string_view key) {
    const QVariant value = this->value(key);
    if (!value.isValid()) {
        const bool present =
            held_.contains(toQString(key)) || (settings_ && settings_->contains(toQString(key)));
        return present ? std::optional<std::string>(std::string()) : std::nullopt;
    }
    const QString text = textOf(value);
    // Bytes that were no UTF-8 read as U+FFFD: such a text (a password typed
    // into the file by hand) can never be typed to match. Said, not hidden.
    if (text.contains(QChar::ReplacementCharacter) && !undecodableReported_.contains(key)) {
        undecodableReported_.insert(std::string(key));
        sayOnStderr(QStringLiteral("the setting %1 in %2 holds bytes that are not UTF-8 text; "
                                   "they read as \uFFFD and cannot be typed. Correct or remove "
                                   "that line.")
                        .arg(toQString(key), file_));
        tellUser(QCoreApplication::translate(
                     "Tamsel",
                     "Tamsel's setting %1 in %2 holds bytes that are not UTF-8 text, so it cannot "
                     "be typed to match. Correct or remove that line.")
                     .arg(toQString(key), file_));
    }
    // Canonically equal texts are the same text: stored texts come out in
    // the form the dialogs hand typed ones in (NFC).
    return text.normalized(QString::NormalizationForm_C).toStdString();
}

void QtSettings::setString(std::string_view key, const std::string& value) {
    store(key, QString::fromStdString(value));
}

}  // namespace tamsel::qt
