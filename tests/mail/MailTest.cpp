#include "DesktopMailer.h"
#include "LocalMailServers.h"
#include "MailSettings.h"
#include "SmtpTransport.h"
#include "TestFiles.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace cw {
namespace {

using namespace std::chrono_literals;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

MailSettings SettingsFor(const std::string& url) {
    MailSettings settings;
    settings.ServerUrl = url;
    settings.Sender = "player@club.example";
    settings.Maintainer = "maintainer@cards.example";
    return settings;
}

MailError::Kind FailureKind(MailTransport& transport, const MailMessage& message,
                            const MailSettings& settings,
                            std::optional<std::string> password = std::nullopt) {
    try {
        transport.Send(message, settings, password);
    } catch (const MailError& error) {
        return error.WhatFailed();
    }
    ADD_FAILURE() << "the send did not fail";
    return MailError::Kind::Settings;
}

TEST(SmtpTransportTest, ServerReceivesSubjectTextRecipientAndAttachmentsByteForByte) {
    test::LocalSmtpServer server;
    ASSERT_TRUE(server.Running()) << server.Problem();
    TempDir dir;
    std::string binary;
    for (int i = 0; i < 256; ++i)
        binary += char(i);
    binary += "\r\n.\r\n\n.end"; // a lone dot on a line ends an SMTP message unless escaped
    std::string log = "CWR Error Log.  DO NOT MODIFY THIS FILE\r\nM\xd8LLER\r\n";
    WriteFile(dir / "cwrerror.log", log);
    WriteFile(dir / "card.acb", binary);

    MailMessage message;
    message.Subject = "Cardwright - Error Log Automation";
    message.Text = "<<< cwrerror.log Automated Email>>>";
    message.To = "maintainer@cards.example";
    message.Attachments = {{"cwrerror.log", dir / "cwrerror.log"}, {"card.acb", dir / "card.acb"}};
    SmtpTransport transport(5s);
    transport.Send(message, SettingsFor(server.Url()), std::nullopt);

    auto received = server.Message(1, 10s);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->mailFrom, "player@club.example");
    EXPECT_EQ(received->recipients, std::vector<std::string>{"maintainer@cards.example"});
    EXPECT_EQ(received->subject, message.Subject);
    EXPECT_EQ(received->to, "maintainer@cards.example");
    EXPECT_EQ(received->text, message.Text);
    EXPECT_EQ(received->attachmentNames, (std::vector<std::string>{"cwrerror.log", "card.acb"}));
    EXPECT_EQ(ReadFile(received->attachments / "cwrerror.log"), log);
    EXPECT_EQ(ReadFile(received->attachments / "card.acb"), binary);
}

TEST(SmtpTransportTest, LogsInOnlyOverStartTlsWithTheGivenPasswordAndReportsARefusedLogin) {
    using Encryption = test::LocalSmtpServer::Encryption;
    test::LocalSmtpServer server("player:secret", Encryption::StartTls);
    ASSERT_TRUE(server.Running()) << server.Problem();
    MailMessage message{"Subject", "Text", "maintainer@cards.example", {}};
    MailSettings settings = SettingsFor(server.Url());
    settings.User = "player";
    SmtpTransport transport(5s);

    // The test server's certificate is trusted only when the settings name it.
    EXPECT_NE(FailureKind(transport, message, settings, std::string("secret")),
              MailError::Kind::Login);
    settings.Certificates = test::LocalSmtpServer::TestCertificates();
    EXPECT_EQ(FailureKind(transport, message, settings, std::string("wrong")),
              MailError::Kind::Login);
    EXPECT_EQ(server.MessageCount(), 0);
    transport.Send(message, settings, std::string("secret"));
    auto received = server.Message(1, 10s);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->login, "player");
    EXPECT_EQ(server.AuthAttempts(), (std::vector<std::string>{"tls", "tls"}));

    // A server that offers a login without encryption never sees the password.
    test::LocalSmtpServer open("player:secret");
    ASSERT_TRUE(open.Running()) << open.Problem();
    settings.ServerUrl = open.Url();
    EXPECT_EQ(FailureKind(transport, message, settings, std::string("secret")),
              MailError::Kind::NotEncrypted);
    EXPECT_TRUE(open.AuthAttempts().empty());
    EXPECT_EQ(open.MessageCount(), 0);
}

TEST(SmtpTransportTest, ACancelEndsASendToASilentServerAtOnce) {
    test::SilentServer silent;
    SmtpTransport transport(60s);
    MailMessage message{"Subject", "Text", "maintainer@cards.example", {}};
    std::thread canceller([&] {
        std::this_thread::sleep_for(200ms);
        transport.Cancel();
    });
    EXPECT_EQ(FailureKind(transport, message, SettingsFor(silent.Url())),
              MailError::Kind::Cancelled);
    canceller.join();
}

TEST(SmtpTransportTest, ServerThatNeverAnswersTimesOut) {
    test::SilentServer silent;
    SmtpTransport transport(1s);
    MailMessage message{"Subject", "Text", "maintainer@cards.example", {}};
    EXPECT_EQ(FailureKind(transport, message, SettingsFor(silent.Url())),
              MailError::Kind::TimedOut);
}

TEST(SmtpTransportTest, AddressesThatWouldBreakTheHeadersAreRefusedBeforeConnecting) {
    test::RefusingServer nobody;
    SmtpTransport transport(1s);
    MailMessage message{"Subject", "Text", "maintainer@cards.example\r\nBcc: x@y.example", {}};
    EXPECT_EQ(FailureKind(transport, message, SettingsFor(nobody.Url())),
              MailError::Kind::Settings);
}

// xdg-email stand-in that writes its arguments, one per line, and exits with code.
fs::path StandInMailProgram(const TempDir& dir, int code) {
    fs::path bin = dir / "bin";
    WriteFile(bin / "xdg-email", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + (dir / "args").string() +
                                     "'\nexit " + std::to_string(code) + "\n");
    ::chmod((bin / "xdg-email").c_str(), 0755);
    return bin;
}

class PathOverride {
public:
    explicit PathOverride(const fs::path& first) : old_(std::getenv("PATH")) {
        ::setenv("PATH", (first.string() + ":" + old_).c_str(), 1);
    }
    ~PathOverride() { ::setenv("PATH", old_.c_str(), 1); }

private:
    std::string old_;
};

TEST(DesktopMailerTest, HandsSubjectBodyAttachmentsAndRecipientToXdgEmail) {
    TempDir dir;
    WriteFile(dir / "cwr.sys", "s01 0\r\n");
    MailMessage message{"Cardwright - Error Log Automation",
                        "<<< cwrerror.log Automated Email>>>",
                        "maintainer@cards.example",
                        {{"cwr.sys", dir / "cwr.sys"}}};
    {
        PathOverride path(StandInMailProgram(dir, 0));
        DesktopMailer().Compose(message);
    }
    EXPECT_EQ(ReadFile(dir / "args"),
              "--utf8\n--subject\nCardwright - Error Log Automation\n--body\n"
              "<<< cwrerror.log Automated Email>>>\n--attach\n" +
                  (dir / "cwr.sys").string() + "\nmaintainer@cards.example\n");

    PathOverride path(StandInMailProgram(dir, 3));
    try {
        DesktopMailer().Compose(message);
        ADD_FAILURE() << "a failing xdg-email was taken as success";
    } catch (const MailError& error) {
        EXPECT_EQ(error.WhatFailed(), MailError::Kind::MailProgram);
        EXPECT_STREQ(error.what(), "no mail program was found");
    }
}

TEST(MailSettingsTest, FileRoundTripsWithoutPasswordAndBareHostsGetTheirScheme) {
    TempDir dir;
    MailSettingsFile file(dir.Path());
    EXPECT_FALSE(file.Exists());
    EXPECT_EQ(file.Read().Maintainer, "");
    // The placeholder older versions wrote reaches nobody: it is no address.
    WriteFile(dir / "mail.ini", std::string("[mail]\nmaintainer=") + kPlaceholderMaintainer);
    EXPECT_EQ(file.Read().Maintainer, "");

    WriteFile(dir / "mail.ini", "[mail]\r\nServer = mail.example.org:465\r\npassword=hunter2\r\n"
                                "user=player\r\n; sender=ignored@example.org\r\n");
    MailSettings read = file.Read();
    EXPECT_EQ(read.EffectiveUrl(), "smtps://mail.example.org:465");
    EXPECT_EQ(read.User, "player");
    EXPECT_EQ(read.Sender, "");

    read.Sender = "player@club.example\r\nserver=evil";
    file.Write(read);
    std::string written = ReadFile(dir / "mail.ini");
    EXPECT_EQ(written.find("hunter2"), std::string::npos);
    MailSettings again = file.Read();
    EXPECT_EQ(again.ServerUrl, "mail.example.org:465");
    EXPECT_EQ(again.Sender, "player@club.example  server=evil");
    EXPECT_FALSE(IsPlainMailAddress(again.Sender));

    MailSettings plain;
    plain.ServerUrl = "mail.example.org";
    EXPECT_EQ(plain.EffectiveUrl(), "smtp://mail.example.org");
}

} // namespace
} // namespace cw
