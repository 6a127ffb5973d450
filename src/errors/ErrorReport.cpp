#include "ErrorReport.h"

#include "ErrorLog.h"
#include "FileOps.h"
#include "LineReader.h"
#include "RuntimeError.h"

namespace cw {

namespace {

// An answer typed over several lines keeps its lines, each ended the log's way.
std::string WithLogLineEnds(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

void AttachIfThere(MailMessage& message, const fs::path& path) {
    if (auto found = ResolveExisting(path); found && fs::is_regular_file(*found))
        message.Attachments.push_back({found->filename().string(), *found});
}

void Copy(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::none, ec);
    if (ec)
        throw RuntimeError(RuntimeError::PathFileAccess, "Cannot copy " + from.string() + " to " +
                                                             to.string() + ": " + ec.message());
}

} // namespace

const std::array<std::string, 4>& ErrorReport::Questions() {
    static const std::array<std::string, 4> questions = {
        "What were you doing when the error occurred?",
        "If the problem is printing, did you read the \"Special Notices\", and Help on the main "
        "form?",
        "Additional Information:",
        "Comments:  (also, what is your name, and what country are you in)",
    };
    return questions;
}

void ErrorReport::AppendAnswers(ErrorLog& log, const Answers& answers) {
    std::string text;
    ErrorLog::WriteSystemInfo(text, log.Info());
    for (size_t i = 0; i < answers.size(); ++i)
        AppendLine(text, std::to_string(i) + ". " + WithLogLineEnds(answers[i]));
    AppendLine(text, ErrorLog::Separator);
    log.Append(text);
}

MailMessage ErrorReport::Compose(const ErrorLog& log, const ErrorContextSnapshot& context,
                                 const std::string& recipient) {
    MailMessage message;
    message.Subject = Subject;
    message.Text = Text;
    message.To = recipient;
    AttachIfThere(message, log.LogPath());
    AttachIfThere(message, log.ProgramFolder() / "cwr.sys");
    const std::string& name = context.CurrentCardName;
    if (!IsBlank(name)) {
        fs::path folder = context.CardDir;
        AttachIfThere(message, folder / (name + context.CardExt));
        if (name.back() == '_')
            AttachIfThere(message, folder / (name.substr(0, name.size() - 1) + context.CardExt));
        else if (context.FormatHasBackPage)
            AttachIfThere(message, folder / (name + "_" + context.CardExt));
    }
    return message;
}

std::string ErrorReport::RecipientWords(const std::string& address) {
    return address.empty() ? "whoever looks after your copy of Cardwright (the club, the "
                             "teacher or the web page you had it from)"
                           : address;
}

fs::path ErrorReport::SaveTo(const MailMessage& message, const fs::path& folder) {
    auto taken = [&](const fs::path& candidate) {
        if (ExistsAnyCase(candidate / NoteFileName))
            return true;
        for (const MailAttachment& attachment : message.Attachments)
            if (ExistsAnyCase(candidate / attachment.Name))
                return true;
        return false;
    };
    fs::path target = folder;
    for (int n = 1; taken(target); ++n) {
        target = folder / ("Cardwright error report" + (n == 1 ? "" : " " + std::to_string(n)));
        if (!fs::exists(target))
            break;
    }
    std::error_code ec;
    fs::create_directories(target, ec);
    if (ec)
        throw RuntimeError(RuntimeError::PathNotFound,
                           "Cannot make the folder " + target.string() + ": " + ec.message());

    std::string note;
    AppendLine(note, "Please send the files of this folder to " + RecipientWords(message.To));
    AppendLine(note, "with the subject: " + message.Subject);
    AppendLine(note, "");
    AppendLine(note, message.Text);
    AtomicReplace(FileSystem::Default(), target / NoteFileName, note,
                  target / (std::string(NoteFileName) + ".new"));
    for (const MailAttachment& attachment : message.Attachments)
        Copy(attachment.Path, target / attachment.Name);
    return target;
}

} // namespace cw
