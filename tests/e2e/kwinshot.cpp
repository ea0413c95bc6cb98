// A picture of a headless KWin's whole screen as a binary PPM on stdout,
// through org.kde.KWin.ScreenShot2 (which KWin opens to every client when
// started with KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1). The caller times it out.
//   tamsel-kwinshot WIDTH HEIGHT

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) return 2;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return 1;
    QDBusPendingReply<QVariantMap> reply;
    {
        // KWin answers first and then writes the pixels from a thread of its
        // own; every copy of the write end must be gone for the end to show.
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.kde.KWin"), QStringLiteral("/org/kde/KWin/ScreenShot2"),
            QStringLiteral("org.kde.KWin.ScreenShot2"), QStringLiteral("CaptureArea"));
        const QVariantMap options{{QStringLiteral("native-resolution"), true},
                                  {QStringLiteral("include-cursor"), false}};
        call << 0 << 0 << QByteArray(argv[1]).toUInt() << QByteArray(argv[2]).toUInt() << options
             << QVariant::fromValue(QDBusUnixFileDescriptor(pipeFds[1]));
        ::close(pipeFds[1]);
        reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    }
    if (reply.isError()) {
        std::fprintf(stderr, "kwinshot: %s\n", qPrintable(reply.error().message()));
        return 1;
    }
    QByteArray pixels;
    char chunk[65536];
    for (ssize_t n; (n = ::read(pipeFds[0], chunk, sizeof chunk)) > 0;) pixels.append(chunk, n);
    const QVariantMap info = reply.value();
    const QImage image(reinterpret_cast<const uchar*>(pixels.constData()),
                       info.value(QStringLiteral("width")).toInt(),
                       info.value(QStringLiteral("height")).toInt(),
                       info.value(QStringLiteral("stride")).toInt(),
                       QImage::Format(info.value(QStringLiteral("format")).toInt()));
    if (image.isNull() || qsizetype(image.sizeInBytes()) > pixels.size()) {
        std::fprintf(stderr, "kwinshot: no picture (%lld bytes)\n", qlonglong(pixels.size()));
        return 1;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::printf("P6 %d %d 255\n", rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y)
        std::fwrite(rgb.constScanLine(y), 1, static_cast<std::size_t>(rgb.width()) * 3, stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
