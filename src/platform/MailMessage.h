#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace cw {

// A file sent with a message: the name the recipient sees and where the bytes are.
struct MailAttachment {
    std::string Name;
    std::filesystem::path Path;
};

// One message to one recipient. Texts are UTF-8.
struct MailMessage {
    std::string Subject;
    std::string Text;
    std::string To;
    std::vector<MailAttachment> Attachments;
};

} // namespace cw
