// What a due break waits for, from real sources: stand-in video devices
// opened by a child process, a real PulseAudio server recording with
// parecord, a real window made full screen under openbox on Xvfb.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>

#include "platform/qt/busy/busy_sources.h"
#include "platform/qt/views/views.h"

namespace tamsel::qt {
namespace {

bool waitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A child that opens a file, closes it on the first line it reads, and ends.
struct Opener {
    explicit Opener(const QString& path) {
        child.start(
            QStringLiteral("sh"),
            {QStringLiteral("-c"), QStringLiteral("exec 3<\"$1\"; read x; exec 3<&-; read x"),
             QStringLiteral("sh"), path});
        child.waitForStarted();
    }
    ~Opener() {
        child.closeWriteChannel();
        child.waitForFinished(3000);
    }
    void close() { child.write("\n"); }
    QProcess child;
};

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(CameraSource, CountsOpensOfVideoDevicesThatComeAndGo) {
    QTemporaryDir dev;
    touch(dev.filePath(QStringLiteral("video0")));
    touch(dev.filePath(QStringLiteral("null")));
    auto camera = makeInotifyCamera(dev.path());
    int told = 0;
    camera->observe([&told] { ++told; });
    camera->watch(true);
    // Open or not since before the start: nobody can tell yet.
    EXPECT_EQ(camera->busy(), Busy::Unknown);
    {
        Opener other(dev.filePath(QStringLiteral("null")));
        Opener call(dev.filePath(QStringLiteral("video0")));
        EXPECT_TRUE(waitFor([&] { return camera->busy() == Busy::Yes; }));
        call.close();
        EXPECT_TRUE(waitFor([&] { return camera->busy() == Busy::No; }));
    }
    EXPECT_TRUE(waitFor([&] { return told >= 2; }));

    // Plugged in while watched, then pulled out while in use.
    touch(dev.filePath(QStringLiteral("video1")));
    Opener late(dev.filePath(QStringLiteral("video1")));
    EXPECT_TRUE(waitFor([&] { return camera->busy() == Busy::Yes; }));
    QFile::remove(dev.filePath(QStringLiteral("video1")));
    EXPECT_TRUE(waitFor([&] { return camera->busy() == Busy::No; }));

    camera->watch(false);
    EXPECT_EQ(camera->busy(), Busy::Unknown);
}

class VirtualClock : public Clock {
public:
    double now() override { return t; }
    double uptime() override { return t; }
    double t = 1000;
};

// PulseAudio on a private socket with a null sink (whose monitor is no
// microphone) and a null source (a microphone nobody speaks into).
struct SoundServer {
    explicit SoundServer(const QTemporaryDir& dir)
        : socket(dir.filePath(QStringLiteral("native"))) {
        QFile script(dir.filePath(QStringLiteral("tamsel.pa")));
        script.open(QIODevice::WriteOnly);
        script.write("load-module module-native-protocol-unix auth-anonymous=1 socket=" +
                     QFile::encodeName(socket) +
                     "\nload-module module-null-sink sink_name=speaker"
                     "\nload-module module-null-source source_name=mic\n");
        QProcessEnvironment env;
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
        env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        daemon.setProcessEnvironment(env);
        daemon.setProgram(QStringLiteral("pulseaudio"));
        daemon.setArguments(
            {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
             QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
             QStringLiteral("--disable-shm=yes"), QStringLiteral("-F"), script.fileName()});
        daemon.setStandardOutputFile(QProcess::nullDevice());
        daemon.setStandardErrorFile(QProcess::nullDevice());
    }
    ~SoundServer() { stop(); }
    bool start() {
        QFile::remove(socket);
        daemon.start();
        return waitFor([this] { return QFile::exists(socket); }, 10000);
    }
    void stop() {
        daemon.terminate();
        daemon.waitForFinished(5000);
    }
    QString address() const { return QStringLiteral("unix:") + socket; }
    QString socket;
    QProcess daemon;
};

struct Recording {
    Recording(const SoundServer& server, const char* device) {
        child.setStandardOutputFile(QProcess::nullDevice());
        child.start(QStringLiteral("parecord"),
                    {QStringLiteral("--server=") + server.address(),
                     QStringLiteral("--device=") + QLatin1String(device), QStringLiteral("--raw")});
    }
    ~Recording() {
        child.terminate();
        child.waitForFinished(3000);
    }
    QProcess child;
};

TEST(MicrophoneSource, ARecordingOnARealSoundServerIsACallAndSurvivesARestart) {
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("parecord")).isEmpty())
        GTEST_SKIP() << "needs pulseaudio and parecord (make deps installs them)";
    QTemporaryDir dir;
    SoundServer server(dir);
    ASSERT_TRUE(server.start()) << "pulseaudio did not start";
    VirtualClock clock;
    auto mic = makePulseMicrophone(clock, server.address().toStdString());
    mic->watch(true);
    EXPECT_TRUE(waitFor([&] { return mic->busy() == Busy::No; }));
    {
        Recording monitor(server, "speaker.monitor");
        auto call = std::make_unique<Recording>(server, "mic");
        EXPECT_TRUE(waitFor([&] { return mic->busy() == Busy::Yes; }));
        call.reset();
        // Only the sink's monitor still records: no call.
        EXPECT_TRUE(waitFor([&] { return mic->busy() == Busy::No; }));
    }

    ::testing::internal::CaptureStderr();
    server.stop();
    EXPECT_TRUE(waitFor([&] { return mic->busy() == Busy::Unknown; }));
    ASSERT_TRUE(server.start());
    clock.t += 60;  // no bus tells of a server named by address: asked again within a minute
    EXPECT_TRUE(waitFor([&] { return mic->busy() == Busy::No; }));
    Recording call(server, "mic");
    EXPECT_TRUE(waitFor([&] { return mic->busy() == Busy::Yes; }));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("tamsel: microphone: no sound server answers"), std::string::npos) << said;
}

// Run by the test x11_fullscreen, on Xvfb with openbox (tests/qt/on_x11.py).
TEST(FullScreenSource, FollowsTheActiveWindowIntoAndOutOfFullScreen) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display with a window manager";
    auto wmctrl = [](const QStringList& args) {
        return QProcess::execute(QStringLiteral("wmctrl"), args) == 0;
    };
    auto source = makeX11FullScreen();
    source->watch(true);
    QProcess game, other;
    for (QProcess* window : {&game, &other}) {
        const QString name =
            window == &game ? QStringLiteral("tamsel-game") : QStringLiteral("tamsel-other");
        window->setStandardOutputFile(QProcess::nullDevice());
        window->start(QStringLiteral("xev"), {QStringLiteral("-name"), name});
        ASSERT_TRUE(waitFor([&] { return wmctrl({QStringLiteral("-a"), name}); }));
    }
    const struct {
        QStringList command;
        Busy expected;
    } steps[] = {
        {{QStringLiteral("-a"), QStringLiteral("tamsel-game")}, Busy::No},
        {{QStringLiteral("-r"), QStringLiteral("tamsel-game"), QStringLiteral("-b"),
          QStringLiteral("add,fullscreen")},
         Busy::Yes},
        {{QStringLiteral("-a"), QStringLiteral("tamsel-other")}, Busy::No},
        {{QStringLiteral("-a"), QStringLiteral("tamsel-game")}, Busy::Yes},
        {{QStringLiteral("-r"), QStringLiteral("tamsel-game"), QStringLiteral("-b"),
          QStringLiteral("remove,fullscreen")},
         Busy::No},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(wmctrl(step.command)) << step.command.join(' ').toStdString();
        EXPECT_TRUE(waitFor([&] { return source->busy() == step.expected; }))
            << step.command.join(' ').toStdString();
    }
    game.kill();
    other.kill();
    game.waitForFinished();
    other.waitForFinished();
}

TEST(WaitingIndicator, TheLongestReasonFitsInTheWindowOfElevenSquares) {
    auto window = makeIndicatorView();
    window->outlet("lblProgress").setTextColor({1, 0, 0, 0.7});
    window->outlet("lblProgress").setText("\u25F7 do not disturb");
    const QImage image = window->view()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    auto inked = [&image](int x) {
        for (int y = 0; y < image.height(); ++y)
            if (qAlpha(image.pixel(x, y)) > 0) return true;
        return false;
    };
    EXPECT_FALSE(inked(0));
    EXPECT_FALSE(inked(image.width() - 1));
    int columns = 0;
    for (int x = 0; x < image.width(); ++x) columns += inked(x);
    EXPECT_GT(columns, image.width() / 2) << "hardly anything drawn";
}

}  // namespace
}  // namespace tamsel::qt
