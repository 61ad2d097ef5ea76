// The desktop opener: what it hands xdg-open, and that nothing of the
// opener's own output, or of its absence, reaches the user.
#include "platform/platform.h"
#include "platform/quiet_shell_opener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace zentaro::platform {
namespace {

/// Sends this process's standard error to a file while it lives.
class CapturedStderr
{
public:
    explicit CapturedStderr(const QString& path)
    {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "w");
        ::dup2(::fileno(file), STDERR_FILENO);
        std::fclose(file);
    }
    ~CapturedStderr()
    {
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    CapturedStderr(const CapturedStderr&) = delete;
    CapturedStderr& operator=(const CapturedStderr&) = delete;

private:
    int saved_ = -1;
};

/// A PATH holding only a stand-in xdg-open (or nothing), for one test.
class OpenerFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        savedPath_ = qgetenv("PATH");
        qputenv("PATH", dir_.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("PATH", savedPath_); }

    /// A stand-in that records its arguments and complains loudly.
    void installNoisyOpener()
    {
        QFile script(dir_.filePath("xdg-open"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"xdg-open: no method available for opening '$1'\" >&2\n"
                     "echo noise on stdout\nprintf '%s' \"$1\" > \"" +
                     dir_.filePath("opened").toLocal8Bit() + "\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }

    QString recorded() const
    {
        QFile file(dir_.filePath("opened"));
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    }

    QTemporaryDir dir_;
    QByteArray savedPath_;
};

TEST_F(OpenerFixture, HandsTheFileOfTheCurrentDirectoryToXdgOpenSilently)
{
    installNoisyOpener();
    QuietShellOpener opener;
    const QString captured = dir_.filePath("stderr");
    {
        CapturedStderr capture(captured);
        EXPECT_TRUE(openWithShell(QStringLiteral("20")));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !recorded().isEmpty(); }, 5000));
    }
    EXPECT_EQ(QUrl(recorded()).toLocalFile(), QDir::current().absoluteFilePath("20"));
    QFile errors(captured);
    ASSERT_TRUE(errors.open(QIODevice::ReadOnly));
    EXPECT_EQ(errors.readAll(), QByteArray());
}

TEST_F(OpenerFixture, WithoutAnOpenerNothingHappensAndNothingIsPrinted)
{
    QuietShellOpener opener;
    const QString captured = dir_.filePath("stderr");
    {
        CapturedStderr capture(captured);
        EXPECT_FALSE(opener.open(QUrl::fromLocalFile(QDir::current().absoluteFilePath("20"))));
        openWithShell(QStringLiteral("20"));
    }
    QFile errors(captured);
    ASSERT_TRUE(errors.open(QIODevice::ReadOnly));
    EXPECT_EQ(errors.readAll(), QByteArray());
}

} // namespace
} // namespace zentaro::platform

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
