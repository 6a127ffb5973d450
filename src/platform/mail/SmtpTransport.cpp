#include "SmtpTransport.h"

#include <atomic>
#include <ctime>
#include <curl/curl.h>
#include <memory>
#include <mutex>
#include <unistd.h>

namespace cw {

namespace {

// libcurl's global set-up is not thread-safe; it runs once, on the thread that makes the
// first transport (the program's main thread), before any send starts on a worker.
void InitialiseCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MimeDeleter {
    void operator()(curl_mime* mime) const { curl_mime_free(mime); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using MimeHandle = std::unique_ptr<curl_mime, MimeDeleter>;
using ListHandle = std::unique_ptr<curl_slist, ListDeleter>;

void Append(ListHandle& list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown)
        throw MailError(MailError::Kind::Settings, "Out of memory building the message");
    list.release();
    list.reset(grown);
}

bool IsAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80 || c == '\r' || c == '\n')
            return false;
    return true;
}

std::string Base64(const std::string& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        unsigned v = (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8 |
                     (unsigned char)bytes[i + 2];
        out += {digits[v >> 18], digits[(v >> 12) & 63], digits[(v >> 6) & 63], digits[v & 63]};
    }
    if (i + 1 == bytes.size()) {
        unsigned v = (unsigned char)bytes[i] << 16;
        out += {digits[v >> 18], digits[(v >> 12) & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        unsigned v = (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8;
        out += {digits[v >> 18], digits[(v >> 12) & 63], digits[(v >> 6) & 63], '='};
    }
    return out;
}

// A header value that is not plain ASCII travels as an encoded word.
std::string HeaderText(const std::string& text) {
    return IsAscii(text) ? text : "=?UTF-8?B?" + Base64(text) + "?=";
}

// The Date header in the one form mail readers all accept, whatever the locale.
std::string DateHeader() {
    static const char* days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "Date: %s, %02d %s %04d %02d:%02d:%02d +0000",
                  days[utc.tm_wday], utc.tm_mday, months[utc.tm_mon], utc.tm_year + 1900,
                  utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

std::string MessageId(const std::string& sender) {
    static std::atomic<unsigned> counter{0};
    std::string domain = sender.substr(sender.find('@') + 1);
    return "Message-ID: <" + std::to_string(std::time(nullptr)) + "." + std::to_string(::getpid()) +
           "." + std::to_string(++counter) + ".cardwright@" + domain + ">";
}

MailError::Kind KindOf(CURLcode code) {
    switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        return MailError::Kind::Settings;
    case CURLE_LOGIN_DENIED:
        return MailError::Kind::Login;
    case CURLE_OPERATION_TIMEDOUT:
        return MailError::Kind::TimedOut;
    case CURLE_SEND_ERROR:
        return MailError::Kind::Rejected;
    case CURLE_READ_ERROR:
        return MailError::Kind::Attachment;
    case CURLE_USE_SSL_FAILED:
        return MailError::Kind::NotEncrypted;
    case CURLE_ABORTED_BY_CALLBACK:
        return MailError::Kind::Cancelled;
    default:
        return MailError::Kind::Connection;
    }
}

template <class Value> void Set(CURL* easy, CURLoption option, Value value) {
    CURLcode code = curl_easy_setopt(easy, option, value);
    if (code != CURLE_OK)
        throw MailError(MailError::Kind::Settings, curl_easy_strerror(code));
}

void Check(CURLcode code, const char* what) {
    if (code != CURLE_OK)
        throw MailError(code == CURLE_READ_ERROR ? MailError::Kind::Attachment
                                                 : MailError::Kind::Settings,
                        std::string(what) + ": " + curl_easy_strerror(code));
}

// libcurl calls this about once a second, and more often while data moves, whether or not
// the server answers: a non-zero answer ends the transfer.
int GiveUpWhenCancelled(void* cancelled, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<std::atomic<bool>*>(cancelled)->load() ? 1 : 0;
}

} // namespace

SmtpTransport::SmtpTransport(std::chrono::milliseconds stallTimeout) : stallTimeout_(stallTimeout) {
    InitialiseCurl();
}

void SmtpTransport::Send(const MailMessage& message, const MailSettings& settings,
                         const std::optional<std::string>& password) {
    // A cancel that comes while this send is being prepared still ends it; whatever the
    // outcome, the next send starts afresh.
    struct CancelReset {
        std::atomic<bool>& cancelled;
        ~CancelReset() { cancelled = false; }
    } reset{cancelled_};
    const std::string url = settings.EffectiveUrl();
    if (url.empty())
        throw MailError(MailError::Kind::Settings, "No mail server is set up");
    // A hand-edited mail.ini must not send the report anywhere but to a mail server.
    if (!settings.ServerUsable())
        throw MailError(MailError::Kind::Settings,
                        "The mail server is not an smtp:// or smtps:// address");
    if (!IsPlainMailAddress(settings.Sender))
        throw MailError(MailError::Kind::Settings, "The sender address is not usable");
    if (!IsPlainMailAddress(message.To))
        throw MailError(MailError::Kind::Settings, "The recipient address is not usable");

    EasyHandle easy(curl_easy_init());
    if (!easy)
        throw MailError(MailError::Kind::Settings, "The mail library could not start");
    CURL* e = easy.get();
    char detail[CURL_ERROR_SIZE] = {};

    Set(e, CURLOPT_URL, url.c_str());
    Set(e, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    Set(e, CURLOPT_ERRORBUFFER, detail);
    // Signals cannot time out a resolver on a worker thread.
    Set(e, CURLOPT_NOSIGNAL, 1L);
    // A login goes over an encrypted connection or not at all: the password must never
    // cross the network in the clear.
    const bool login = !settings.User.empty();
    if (url.rfind("smtp://", 0) == 0)
        Set(e, CURLOPT_USE_SSL, long(login ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    if (!settings.Certificates.empty())
        Set(e, CURLOPT_CAINFO, settings.Certificates.c_str());
    Set(e, CURLOPT_NOPROGRESS, 0L);
    Set(e, CURLOPT_XFERINFODATA, &cancelled_);
    Set(e, CURLOPT_XFERINFOFUNCTION, &GiveUpWhenCancelled);
    const long seconds = long((stallTimeout_.count() + 999) / 1000);
    Set(e, CURLOPT_CONNECTTIMEOUT_MS, long(stallTimeout_.count()));
    Set(e, CURLOPT_SERVER_RESPONSE_TIMEOUT, seconds);
    Set(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    Set(e, CURLOPT_LOW_SPEED_TIME, seconds);
    if (login) {
        Set(e, CURLOPT_USERNAME, settings.User.c_str());
        Set(e, CURLOPT_PASSWORD, password ? password->c_str() : "");
    }

    const std::string from = "<" + settings.Sender + ">";
    Set(e, CURLOPT_MAIL_FROM, from.c_str());
    ListHandle recipients;
    Append(recipients, "<" + message.To + ">");
    Set(e, CURLOPT_MAIL_RCPT, recipients.get());

    ListHandle headers;
    Append(headers, DateHeader());
    Append(headers, "From: <" + settings.Sender + ">");
    Append(headers, "To: <" + message.To + ">");
    Append(headers, "Subject: " + HeaderText(message.Subject));
    Append(headers, MessageId(settings.Sender));
    Set(e, CURLOPT_HTTPHEADER, headers.get());

    MimeHandle mime(curl_mime_init(e));
    curl_mimepart* text = curl_mime_addpart(mime.get());
    Check(curl_mime_data(text, message.Text.c_str(), CURL_ZERO_TERMINATED), "message text");
    Check(curl_mime_type(text, "text/plain; charset=UTF-8"), "message text");
    Check(curl_mime_encoder(text, "quoted-printable"), "message text");
    for (const MailAttachment& attachment : message.Attachments) {
        curl_mimepart* part = curl_mime_addpart(mime.get());
        Check(curl_mime_filedata(part, attachment.Path.c_str()), attachment.Name.c_str());
        Check(curl_mime_filename(part, attachment.Name.c_str()), attachment.Name.c_str());
        Check(curl_mime_type(part, "application/octet-stream"), attachment.Name.c_str());
        Check(curl_mime_encoder(part, "base64"), attachment.Name.c_str());
    }
    Set(e, CURLOPT_MIMEPOST, mime.get());

    CURLcode result = curl_easy_perform(e);
    if (result == CURLE_USE_SSL_FAILED && login)
        throw MailError(MailError::Kind::NotEncrypted,
                        "The mail server offers no encrypted connection, and your password is "
                        "never sent without one. Ask the server's keeper for its STARTTLS port "
                        "(often 587) or its TLS address (smtps://, often port 465).");
    if (result == CURLE_ABORTED_BY_CALLBACK)
        throw MailError(MailError::Kind::Cancelled, "Sending was cancelled");
    if (result != CURLE_OK) {
        std::string why = detail[0] ? detail : curl_easy_strerror(result);
        throw MailError(KindOf(result), why);
    }
}

void SmtpTransport::Cancel() {
    cancelled_ = true;
}

} // namespace cw
