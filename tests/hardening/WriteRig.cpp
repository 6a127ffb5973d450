#include "WriteRig.h"

#include <algorithm>
#include <cctype>
#include <fnmatch.h>
#include <gtest/gtest.h>
#include <sstream>

namespace cw::test {

namespace {

using Snapshot = std::map<std::string, std::optional<std::string>>;

// The file a name stands for: a pattern stands for the one file it matches, if any.
fs::path Resolve(const WriteRig& rig, const std::string& name) {
    fs::path file = rig.File(name);
    if (name.find('*') == std::string::npos)
        return file;
    auto matches = ListFolder(file.parent_path(), file.filename().string());
    return matches.size() == 1 ? file.parent_path() / matches[0] : file;
}

Snapshot Take(const WriteRig& rig, const WritePath& path,
              const std::vector<std::string>& only = {}) {
    Snapshot snapshot;
    for (const std::string& name : only.empty() ? path.files : only) {
        std::error_code ec;
        fs::path file = Resolve(rig, name);
        std::optional<std::string> bytes;
        if (fs::is_regular_file(file, ec)) {
            bytes = ReadFile(file);
            // A file that names the folders (the converters' settings) names them alike in
            // every run.
            for (const auto& [folder, word] :
                 {std::pair{rig.dir.Path().string(), "<root>"},
                  std::pair{rig.transfer.Path().string(), "<transfer>"}})
                for (size_t at; (at = bytes->find(folder)) != std::string::npos;)
                    bytes->replace(at, folder.size(), word);
            if (path.comparable)
                bytes = path.comparable(*bytes);
        }
        snapshot[name] = std::move(bytes);
    }
    return snapshot;
}

// The part of a snapshot for names (all of it when names is empty).
Snapshot Only(const Snapshot& snapshot, const std::vector<std::string>& names) {
    if (names.empty())
        return snapshot;
    Snapshot part;
    for (const std::string& name : names)
        part[name] = snapshot.at(name);
    return part;
}

std::string Describe(const std::optional<std::string>& bytes) {
    return bytes ? std::to_string(bytes->size()) + " bytes" : std::string("no file");
}

// Whether a file of the listing is one the program names itself (a pattern of files): the
// number in such a name depends on what its folder holds, as when an earlier one failed.
bool NamedByPattern(const std::string& name, const std::vector<std::string>& files) {
    auto lower = [](std::string text) {
        for (char& c : text)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    for (const std::string& file : files)
        if (file.find('*') != std::string::npos &&
            ::fnmatch(lower(file).c_str(), lower(name).c_str(), FNM_PATHNAME) == 0)
            return true;
    return false;
}

bool Mentions(const std::string& text, const std::vector<std::string>& files) {
    for (const std::string& name : files) {
        std::string file = fs::path(name).filename().string();
        // What a pattern's name surely holds: its end.
        if (size_t star = file.rfind('*'); star != std::string::npos)
            file = file.substr(star + 1);
        if (text.find(file) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace

void PrintTo(const WritePath& path, std::ostream* out) {
    *out << path.name;
}

WriteRig::WriteRig() {
    fileSystem.SetRoots({dir.Path(), transfer.Path()});
    // Versions in the card history are named by the time: the same time in every run.
    ctx.Archive.SetClock([] { return std::chrono::system_clock::time_point(); });
    views.library = &session.Library();
    session.Changed().AddView(&views);
    chooser.folder = transfer.Path();
}

fs::path WriteRig::File(const std::string& name) const {
    if (name.rfind("@/", 0) == 0)
        return transfer / name.substr(2);
    return dir / name;
}

std::set<std::string> WriteRig::Listing() const {
    std::set<std::string> names;
    for (const auto& [root, prefix] :
         {std::pair{dir.Path(), std::string()}, std::pair{transfer.Path(), std::string("@/")}})
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.is_regular_file())
                names.insert(prefix + fs::relative(entry.path(), root).string());
    return names;
}

void WriteRig::Mark() {
    trapMark_ = int(errors.shown.size());
    promptMark_ = prompter.Log().size();
}

std::vector<std::string> WriteRig::ReportsSinceMark() const {
    std::vector<std::string> reports;
    for (size_t i = size_t(trapMark_); i < errors.shown.size(); ++i)
        reports.push_back(errors.shown[i].ErrDescription);
    const auto& log = prompter.Log();
    for (size_t i = promptMark_; i < log.size(); ++i)
        if (log[i].kind == ScriptedPrompter::Asked::Kind::Message &&
            (log[i].buttons == Buttons::Ok ||
             std::any_of(
                 reportingQuestions.begin(), reportingQuestions.end(),
                 [&](const std::string& start) { return log[i].text.rfind(start, 0) == 0; })))
            reports.push_back(log[i].text);
    return reports;
}

FaultTally RunWithFaults(const WritePath& path) {
    FaultTally tally;
    std::vector<FsCallId> calls;
    Snapshot before, after;
    std::set<std::string> allowed;
    {
        WriteRig rig;
        path.prepare(rig);
        before = Take(rig, path);
        allowed = rig.Listing();
        rig.fileSystem.Reset();
        rig.Mark();
        bool finished = path.act(rig);
        calls = rig.fileSystem.Calls();
        after = Take(rig, path);
        for (const std::string& name : rig.Listing())
            allowed.insert(name);
        EXPECT_TRUE(finished) << path.name;
        EXPECT_EQ(rig.TrapsSinceMark(), 0) << path.name;
        EXPECT_EQ(int(rig.ReportsSinceMark().size()), path.cleanReports) << path.name;
        EXPECT_NE(before, after) << path.name << ": the action writes nothing";
        EXPECT_FALSE(calls.empty()) << path.name << ": nothing went through the file system";
    }
    for (size_t call = 0; call < calls.size(); ++call) {
        for (Fault fault : FaultsFor(calls[call].call)) {
            ++tally.injected;
            std::vector<std::string> problems;
            WriteRig rig;
            path.prepare(rig);
            rig.fileSystem.Reset();
            rig.fileSystem.Arm(calls[call], fault);
            rig.Mark();
            const bool finishedDespiteFault = path.act(rig);
            if (!rig.fileSystem.Fired())
                problems.push_back("the fault never happened");
            Snapshot now = Take(rig, path);
            for (const auto& [name, bytes] : now)
                if (bytes != before[name] && bytes != after[name])
                    problems.push_back(name + " is torn: " + Describe(bytes) + ", was " +
                                       Describe(before[name]) + ", would be " +
                                       Describe(after[name]));
            for (const std::string& name : rig.Listing())
                if (!allowed.count(name) && !NamedByPattern(name, path.files))
                    problems.push_back("left behind: " + name);
            std::vector<std::string> reports = rig.ReportsSinceMark();
            // An action that got round the fault (a rename that could not be done copied
            // instead) has nothing to tell, unless it could not write something on the side
            // (the card history): then it says so once, with the reason.
            const bool gotRound = finishedDespiteFault && rig.TrapsSinceMark() == 0 && now == after;
            int expected = gotRound ? path.cleanReports : std::max(1, path.cleanReports);
            const bool toldOfSideWrite =
                gotRound && int(reports.size()) == path.cleanReports + 1 &&
                reports.back().find(FaultReason(fault)) != std::string::npos;
            if (int(reports.size()) != expected && !toldOfSideWrite) {
                std::ostringstream text;
                text << reports.size() << " messages instead of " << expected;
                for (const std::string& report : reports)
                    text << " [" << report << "]";
                problems.push_back(text.str());
            }
            bool told = false;
            for (const std::string& report : reports)
                told |= report.find(FaultReason(fault)) != std::string::npos &&
                        Mentions(report, path.files);
            if (!told && !gotRound)
                problems.push_back("no message names the file and \"" + FaultReason(fault) + "\"");
            if (rig.prompter.BusyDepth() != 0)
                problems.push_back("the busy pointer stays");

            // The program goes on: the same action succeeds once the disk is well. An action
            // that got round the fault is done already (a deleted card cannot be deleted again).
            if (!gotRound) {
                rig.fileSystem.Disarm();
                rig.Mark();
                bool finished = path.act(rig);
                if (!finished || rig.TrapsSinceMark() != 0)
                    problems.push_back("the action fails again with the disk well");
                else if (Take(rig, path, path.retryFiles) != Only(after, path.retryFiles))
                    problems.push_back("the action again does not write what it writes");
            }

            if (problems.empty()) {
                ++tally.survived;
                continue;
            }
            std::string text = path.name + ", " + FaultName(fault) + " at " +
                               CallName(calls[call].call) + " of " + calls[call].file + " (" +
                               std::to_string(calls[call].occurrence + 1) + "):";
            for (const std::string& problem : problems)
                text += "\n    " + problem;
            tally.failures.push_back(text);
        }
    }
    return tally;
}

} // namespace cw::test
