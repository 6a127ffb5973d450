#pragma once

#include "ErrorContext.h"
#include "MailMessage.h"

#include <array>
#include <filesystem>
#include <string>

namespace cw {

class ErrorLog;

// The report a user sends to the maintainer from the error dialog: his answers to four
// questions are added to the error log, and the log goes out with the settings file and the
// open card's page files.
class ErrorReport {
public:
    static constexpr const char* Subject = "Cardwright - Error Log Automation";
    static constexpr const char* Text = "<<< cwrerror.log Automated Email>>>";
    static constexpr const char* SentMessage = "The message and error log have been sent.";
    static constexpr const char* FailureMessage =
        "An error occurred attempting to connect to your mail server.";

    using Answers = std::array<std::string, 4>;
    // The questions, top to bottom.
    static const std::array<std::string, 4>& Questions();

    // Appends the machine's description (as in the log's header, with its separator), one
    // line "i. answer" per question and a separator. Line breaks inside an answer become the
    // log's own. Throws RuntimeError when the log cannot be written.
    static void AppendAnswers(ErrorLog& log, const Answers& answers);

    // Whom to send a report to, in words: the address, or who usually takes reports when
    // none is set up.
    static std::string RecipientWords(const std::string& address);

    // The message to the recipient: the log, cwr.sys, and, when a card is open, its page file
    // and the companion page (the front page of an open back page, the back page of a
    // two-page format). A file that is missing is left out and the others close up.
    static MailMessage Compose(const ErrorLog& log, const ErrorContextSnapshot& context,
                               const std::string& recipient);

    // Copies the message's files, with a note saying where to send them, into folder; into a
    // new folder inside it when a file of the same name is already there, so that nothing is
    // overwritten. Returns the folder written to. Throws RuntimeError.
    static std::filesystem::path SaveTo(const MailMessage& message,
                                        const std::filesystem::path& folder);
    static constexpr const char* NoteFileName = "send-to.txt";
};

} // namespace cw
