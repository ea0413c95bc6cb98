// What a due break waits for, from real sources: stand-in video devices
// opened by a child process, a real PulseAudio server recording with
// parecord, a real window made full screen under openbox on Xvfb.

#include <QFile>
#include <QGuiApplication>

#include "platform/qt/busy/busy_sources.h"
#include "qt_test.h"
#include "sim/sim_platform.h"

namespace tamsel::qt {
namespace {

using test::waitFor;

// A program run for the test, ended with it.
struct Child {
    explicit Child(QStringList words, const QProcessEnvironment& env = {}) {
        if (!env.isEmpty()) process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(words.takeFirst(), words);
        process.waitForStarted();
    }
    ~Child() {
        process.terminate();
        process.waitForFinished(5000);
    }
    QProcess process;
};

// A child that holds the file open until its first line of input.
struct Opener : Child {
    explicit Opener(const QString& path)
        : Child({"sh", "-c", "exec 3<\"$1\"; read x; exec 3<&-; read x", "sh", path}) {}
    void close() { process.write("\n"); }
};

TEST(CameraSource, CountsOpensOfVideoDevicesThatComeAndGo) {
    QTemporaryDir dev;
    for (const char* name : {"video0", "null"})
        QFile(dev.filePath(name)).open(QIODevice::WriteOnly);
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
    QFile(dev.filePath(QStringLiteral("video1"))).open(QIODevice::WriteOnly);
    test::runFor(300);  // the source hears of the new device
    Opener late(dev.filePath(QStringLiteral("video1")));
    EXPECT_TRUE(waitFor([&] { return camera->busy() == Busy::Yes; }));
    QFile::remove(dev.filePath(QStringLiteral("video1")));
    EXPECT_TRUE(waitFor([&] { return camera->busy() == Busy::No; }));

    camera->watch(false);
    EXPECT_EQ(camera->busy(), Busy::Unknown);
}

TEST(MicrophoneSource, ARecordingOnARealSoundServerIsACallAndSurvivesARestart) {
    // A null sink, whose monitor is no microphone, and a null source.
    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("native"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR"}) env.insert(name, dir.path());
    const QStringList daemon =
        ("pulseaudio|-n|--daemonize=no|--exit-idle-time=-1|--use-pid-file=no|--disable-shm=yes|"
         "-L|module-null-sink sink_name=speaker|-L|module-null-source source_name=mic|-L|"
         "module-native-protocol-unix auth-anonymous=1 socket=" +
         socket)
            .split('|');
    const QStringList record = {"parecord", "--raw", "--server=unix:" + socket};
    auto server = std::make_unique<Child>(daemon, env);
    ASSERT_TRUE(waitFor([&] { return QFile::exists(socket); })) << "pulseaudio did not start";

    sim::SimClock clock;
    auto mic = makePulseMicrophone(clock, "unix:" + socket.toStdString());
    mic->watch(true);
    auto is = [&mic](Busy answer) { return waitFor([&] { return mic->busy() == answer; }); };
    EXPECT_TRUE(is(Busy::No));
    {
        Child monitor(record + QStringList{"--device=speaker.monitor"});
        auto call = std::make_unique<Child>(record + QStringList{"--device=mic"});
        EXPECT_TRUE(is(Busy::Yes));
        call.reset();
        EXPECT_TRUE(is(Busy::No)) << "only the sink's monitor still records: no call";
    }

    server.reset();
    EXPECT_TRUE(is(Busy::Unknown));
    QFile::remove(socket);
    server = std::make_unique<Child>(daemon, env);
    ASSERT_TRUE(waitFor([&] { return QFile::exists(socket); }));
    clock.uptime_ += 60;  // no bus tells of a server named by address: asked again within a minute
    EXPECT_TRUE(is(Busy::No));
    Child call(record + QStringList{"--device=mic"});
    EXPECT_TRUE(is(Busy::Yes));
}

// Run by the test x11_fullscreen, on Xvfb with openbox (tests/qt/on_x11.py).
TEST(FullScreenSource, FollowsTheActiveWindowIntoAndOutOfFullScreen) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display with a window manager";
    auto wmctrl = [](const char* args) {
        return QProcess::execute("wmctrl", QString(args).split(' ')) == 0;
    };
    auto source = makeX11FullScreen();
    source->watch(true);
    Child game({"xev", "-name", "tamsel-game"});
    Child other({"xev", "-name", "tamsel-other"});
    ASSERT_TRUE(waitFor([&] { return wmctrl("-a tamsel-game") && wmctrl("-a tamsel-other"); }));
    const std::pair<const char*, Busy> steps[] = {
        {"-a tamsel-game", Busy::No},
        {"-r tamsel-game -b add,fullscreen", Busy::Yes},
        {"-a tamsel-other", Busy::No},
        {"-a tamsel-game", Busy::Yes},
        {"-r tamsel-game -b remove,fullscreen", Busy::No},
    };
    for (const auto& [command, expected] : steps) {
        ASSERT_TRUE(wmctrl(command)) << command;
        EXPECT_TRUE(waitFor([&] { return source->busy() == expected; })) << command;
    }
}

}  // namespace
}  // namespace tamsel::qt
