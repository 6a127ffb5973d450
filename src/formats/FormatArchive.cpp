#include "FormatArchive.h"

#include "BaseLayerFile.h"
#include "BlankPageRecord.h"
#include "FormatInstall.h"
#include "FormatMaker.h"
#include "LineReader.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <cctype>
#include <memory>
#include <set>

namespace cw {

namespace {

const char* const kManifest = "format.txt";
constexpr size_t kMaxBaseLength = 7;
constexpr size_t kMaxExtensionLength = 8;
constexpr uint64_t kMaxManifestBytes = 64 << 10;

using Reader = std::unique_ptr<archive, decltype(&archive_read_free)>;
using Writer = std::unique_ptr<archive, decltype(&archive_write_free)>;
using Entry = std::unique_ptr<archive_entry, decltype(&archive_entry_free)>;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

bool IsLettersAndDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](unsigned char c) { return std::isalnum(c) && c < 128; });
}

bool StartsWithBase(const std::string& name, const std::string& base) {
    return Lower(name).rfind(Lower(base), 0) == 0;
}

// The manifest's lines; blank ones say nothing.
std::vector<std::string> ManifestLines(const std::string& manifest) {
    std::vector<std::string> lines = SplitLines(manifest);
    std::erase(lines, std::string());
    return lines;
}

// A layout's base name as the catalogue uses it.
std::string BaseOf(const FormatRecordLines& record) {
    return record.base.substr(0, kMaxBaseLength);
}

// A name a layout may give a file beside it: no folder, nothing hidden.
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name.find_first_of("/\\:") == std::string::npos && name.front() != '.';
}

la_ssize_t AppendTo(archive*, void* target, const void* buffer, size_t length) {
    static_cast<std::string*>(target)->append(static_cast<const char*>(buffer), length);
    return la_ssize_t(length);
}

std::string Size(uint64_t bytes) {
    return bytes >= (1u << 20) ? std::to_string(bytes >> 20) + " MB"
                               : std::to_string(bytes) + " bytes";
}

std::string Damaged(archive* reader) {
    const char* reason = archive_error_string(reader);
    return std::string("The file is not a card format file or is damaged") +
           (reason ? std::string(" (") + reason + ")." : std::string("."));
}

// Where an entry goes inside the data root, or why it may not go anywhere.
fs::path EntryTarget(const std::string& name) {
    auto refuse = [&](const std::string& why) -> fs::path {
        throw FormatArchiveError("The card format file holds '" + name + "', " + why);
    };
    if (name.empty() || name.front() == '/' || (name.size() > 1 && name[1] == ':'))
        refuse("a path from outside the data root.");
    if (name.find('\\') != std::string::npos)
        refuse("a path with a backslash.");
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string::npos)
            end = name.size();
        parts.push_back(name.substr(start, end - start));
        start = end + 1;
    }
    for (const std::string& part : parts)
        if (part == ".." || part == "." || part.empty())
            refuse("a path that leads out of its folder.");
    if (parts.size() == 1 && parts[0] == kManifest)
        return kManifest;
    if (parts.size() != 2 || (parts[0] != "data" && parts[0] != "bmps") ||
        !IsPlainFileName(parts[1]))
        refuse("a file outside its data and bmps folders.");
    return fs::path(parts[0]) / parts[1];
}

bool HasFile(const FormatPackage& package, const std::string& folder, const std::string& name) {
    return std::any_of(package.files.begin(), package.files.end(), [&](const auto& file) {
        return file.first.parent_path() == folder &&
               Lower(file.first.filename().string()) == Lower(name);
    });
}

// The record and files must be a format of their own: a usable code, extension and base, the
// layouts the catalogue needs, and no file but those of its base name and its picture.
void CheckPackage(const FormatPackage& package) {
    const FormatRecordLines& record = package.record;
    if (!FormatMaker::IsLegalCode(record.code))
        throw FormatArchiveError("The card format file names the unusable code '" + record.code +
                                 "'.");
    if (record.extension.size() > kMaxExtensionLength || !IsLettersAndDigits(record.extension))
        throw FormatArchiveError("The card format file names the unusable file extension '" +
                                 record.extension + "'.");
    if (!IsLettersAndDigits(record.base))
        throw FormatArchiveError("The card format file names the unusable layout name '" +
                                 record.base + "'.");
    if (!record.picture.empty() && !IsPlainFileName(record.picture))
        throw FormatArchiveError("The card format file names the unusable picture '" +
                                 record.picture + "'.");
    const std::string base = BaseOf(record);
    for (int page = 1; page <= (record.backPage ? 4 : 2); ++page) {
        const std::string layout = base + std::to_string(page) + ".dat";
        if (!HasFile(package, "data", layout))
            throw FormatArchiveError("The card format file lacks its layout data/" + layout + ".");
    }
    for (const auto& [path, bytes] : package.files) {
        const std::string name = path.filename().string();
        if (path.parent_path() == "data" && !StartsWithBase(name, base))
            throw FormatArchiveError("The card format file holds data/" + name +
                                     ", which is not one of its layout files.");
        if (path.parent_path() == "bmps" && Lower(name) != Lower(record.picture))
            throw FormatArchiveError("The card format file holds bmps/" + name +
                                     ", which is not its picture.");
        // A blank card a layout draws must travel with it, not be looked for elsewhere.
        if (Lower(path.extension().string()) == ".dat")
            for (const BaseRecord& item : BaseLayerFile::Parse(bytes).records)
                if (item.kind == BlankPageKind &&
                    (!IsPlainFileName(item.text) || !HasFile(package, "data", item.text)))
                    throw FormatArchiveError("The card format file's " + name + " draws '" +
                                             item.text + "', which it does not hold.");
    }
}

std::string ReadEntry(archive* reader, const std::string& name, uint64_t limit, uint64_t& total,
                      const FormatArchiveLimits& limits) {
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const la_ssize_t count = archive_read_data(reader, buffer, sizeof buffer);
        if (count < 0)
            throw FormatArchiveError(Damaged(reader));
        if (count == 0)
            return bytes;
        total += uint64_t(count);
        if (bytes.size() + size_t(count) > limit)
            throw FormatArchiveError("The card format file holds '" + name + "', larger than the " +
                                     Size(limit) + " a file may have.");
        if (total > limits.totalBytes)
            throw FormatArchiveError("The card format file holds more than " +
                                     Size(limits.totalBytes) + ".");
        bytes.append(buffer, size_t(count));
    }
}

} // namespace

FormatPackage CollectFormat(const fs::path& root, const std::string& code) {
    std::vector<std::string> lines;
    try {
        lines = RecordOfFormat(root, code);
    } catch (const RuntimeError&) {
        throw FormatArchiveError("No settings file cwr.sys in " + root.string() + ".");
    }
    if (lines.empty())
        throw FormatArchiveError("There is no card format " + code + " in " + root.string() + ".");
    const std::optional<FormatRecordLines> record = FormatRecordLines::Parse(lines);
    if (!record)
        throw FormatArchiveError("The settings record of card format " + code + " is damaged.");

    FormatPackage package;
    package.record = *record;
    const fs::path data = ResolveExisting(root / "data").value_or(root / "data");
    auto add = [&](const fs::path& folder, const std::string& archiveFolder,
                   const std::string& name) {
        const std::optional<fs::path> file = ResolveExisting(folder / name);
        if (!file || !fs::is_regular_file(*file))
            throw FormatArchiveError("Card format " + code + " needs " + archiveFolder + "/" +
                                     name + ", which is missing.");
        package.files[fs::path(archiveFolder) / file->filename()] = ReadFileBytes(*file);
    };
    const std::string base = BaseOf(*record);
    for (int page = 1; page <= (record->backPage ? 4 : 2); ++page)
        add(data, "data", base + std::to_string(page) + ".dat");
    // The other files of its base name: alternative layers, the form bindings, the blank card.
    // A letter after the base name is another base's ("acblff" beside "acbl").
    for (const std::string& name : ListFolder(data, base + "*"))
        if (name.size() > base.size() &&
            !std::isalpha(static_cast<unsigned char>(name[base.size()])))
            add(data, "data", name);
    // The blank cards the layouts draw under their fields, whatever their names.
    std::vector<std::string> drawn;
    for (const auto& [path, bytes] : package.files)
        if (Lower(path.extension().string()) == ".dat") {
            for (const BaseRecord& item : BaseLayerFile::Parse(bytes).records)
                if (item.kind == BlankPageKind)
                    drawn.push_back(item.text);
        }
    for (const std::string& name : drawn) {
        if (!IsPlainFileName(name))
            throw FormatArchiveError("Card format " + code + " draws '" + name +
                                     "', which is not a file of its data folder.");
        add(data, "data", name);
    }
    if (!record->picture.empty()) {
        const fs::path bmps = ResolveExisting(root / "bmps").value_or(root / "bmps");
        if (ExistsAnyCase(bmps / record->picture))
            add(bmps, "bmps", record->picture);
    }
    return package;
}

std::string ComposeFormatArchive(const FormatPackage& package) {
    std::string manifest;
    for (const std::string& line : package.record.Lines())
        manifest += line + "\r\n";
    std::map<std::string, const std::string*> entries{{kManifest, &manifest}};
    for (const auto& [path, bytes] : package.files)
        entries[path.generic_string()] = &bytes;

    std::string out;
    Writer writer(archive_write_new(), archive_write_free);
    if (!writer || archive_write_set_format_zip(writer.get()) != ARCHIVE_OK ||
        archive_write_set_bytes_per_block(writer.get(), 0) != ARCHIVE_OK ||
        archive_write_open(writer.get(), &out, nullptr, AppendTo, nullptr) != ARCHIVE_OK)
        throw FormatArchiveError(std::string("Cannot write a zip file: ") +
                                 archive_error_string(writer.get()));
    for (const auto& [name, bytes] : entries) {
        Entry entry(archive_entry_new(), archive_entry_free);
        archive_entry_set_pathname(entry.get(), name.c_str());
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        archive_entry_set_size(entry.get(), la_int64_t(bytes->size()));
        if (archive_write_header(writer.get(), entry.get()) != ARCHIVE_OK ||
            archive_write_data(writer.get(), bytes->data(), bytes->size()) !=
                la_ssize_t(bytes->size()))
            throw FormatArchiveError("Cannot write " + name +
                                     " into a zip file: " + archive_error_string(writer.get()));
    }
    if (archive_write_close(writer.get()) != ARCHIVE_OK)
        throw FormatArchiveError(std::string("Cannot write a zip file: ") +
                                 archive_error_string(writer.get()));
    return out;
}

FormatPackage ReadFormatArchive(const std::string& bytes, const FormatArchiveLimits& limits) {
    Reader reader(archive_read_new(), archive_read_free);
    if (!reader || archive_read_support_format_zip(reader.get()) != ARCHIVE_OK ||
        archive_read_open_memory(reader.get(), bytes.data(), bytes.size()) != ARCHIVE_OK)
        throw FormatArchiveError(Damaged(reader.get()));

    FormatPackage package;
    std::optional<std::string> manifest;
    std::set<std::string> seen;
    uint64_t total = 0;
    archive_entry* entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF)
            break;
        if (status < ARCHIVE_WARN)
            throw FormatArchiveError(Damaged(reader.get()));
        if (seen.size() >= limits.entries)
            throw FormatArchiveError("The card format file holds more than " +
                                     std::to_string(limits.entries) + " files.");
        const char* rawName = archive_entry_pathname(entry);
        const std::string name = rawName ? rawName : "";
        if (archive_entry_filetype(entry) == AE_IFDIR && !archive_entry_hardlink(entry) &&
            (name == "data/" || name == "bmps/"))
            continue; // the folders themselves, as zip tools add them
        if (archive_entry_filetype(entry) != AE_IFREG || archive_entry_hardlink(entry) ||
            archive_entry_symlink(entry))
            throw FormatArchiveError("The card format file holds '" + name +
                                     "', which is not a plain file.");
        const fs::path target = EntryTarget(name);
        if (!seen.insert(Lower(target.generic_string())).second)
            throw FormatArchiveError("The card format file holds '" + name + "' twice.");
        const uint64_t limit = target == kManifest ? kMaxManifestBytes : limits.entryBytes;
        if (archive_entry_size_is_set(entry) && uint64_t(archive_entry_size(entry)) > limit)
            throw FormatArchiveError("The card format file holds '" + name + "', larger than the " +
                                     Size(limit) + " a file may have.");
        std::string content = ReadEntry(reader.get(), name, limit, total, limits);
        if (target == kManifest)
            manifest = std::move(content);
        else
            package.files[target] = std::move(content);
    }
    if (!manifest)
        throw FormatArchiveError("The card format file lacks its settings record " +
                                 std::string(kManifest) + ".");
    const std::optional<FormatRecordLines> record =
        FormatRecordLines::Parse(ManifestLines(*manifest));
    if (!record)
        throw FormatArchiveError("The settings record " + std::string(kManifest) +
                                 " of the card format file is damaged.");
    package.record = *record;
    CheckPackage(package);
    return package;
}

FormatRecordLines ExportFormat(const fs::path& root, const std::string& code, const fs::path& file,
                               FileSystem& fileSystem) {
    const FormatPackage package = CollectFormat(root, code);
    const std::string bytes = ComposeFormatArchive(package);
    try {
        AtomicReplace(fileSystem, file, bytes, file.string() + ".part");
    } catch (const RuntimeError& error) {
        throw FormatArchiveError(std::string("The format was not exported: ") + error.what());
    }
    return package.record;
}

FormatRecordLines ImportFormat(const fs::path& root, const fs::path& file, FileSystem& fileSystem,
                               const FormatArchiveLimits& limits) {
    std::error_code error;
    const uintmax_t size = fs::file_size(file, error);
    if (error || !fs::is_regular_file(file))
        throw FormatArchiveError("There is no file " + file.string() + ".");
    if (size > limits.totalBytes)
        throw FormatArchiveError(file.string() + " is larger than a card format file may be.");
    std::string bytes;
    try {
        bytes = ReadFileBytes(file);
    } catch (const RuntimeError&) {
        throw FormatArchiveError("Cannot read " + file.string() + ".");
    }
    const FormatPackage package = ReadFormatArchive(bytes, limits);
    const FormatRecordLines& record = package.record;

    const fs::path settings = root / "cwr.sys";
    if (!ExistsAnyCase(settings))
        throw FormatArchiveError("No settings file cwr.sys in " + root.string() + ".");
    const InstalledFormats installed = InstalledFormats::Read(settings);
    if (installed.HasCode(record.code) || ExistsAnyCase(root / record.code))
        throw FormatArchiveError("The code " + record.code + " is in use in " + root.string() +
                                 " already.");
    if (installed.HasExtension(record.extension))
        throw FormatArchiveError("The file extension ." + record.extension +
                                 " belongs to another format in " + root.string() + ".");
    try {
        InstallFormat(root, record, package.files, fileSystem);
    } catch (const FormatInstallError& failure) {
        throw FormatArchiveError(std::string("The format was not imported: ") + failure.what());
    }
    return record;
}

} // namespace cw
