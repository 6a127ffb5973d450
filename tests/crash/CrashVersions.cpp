#include "CrashVersions.h"

#include "CardFile.h"
#include "TestFiles.h"

namespace cw::test {

Saved FileOf(long version) {
    return Saved(version % kSavedFiles);
}

std::string VersionText(long version) {
    // Lengths from nothing to a few thousand bytes, a different letter each time.
    size_t length = size_t(version * 37 % 3001);
    return "v" + std::to_string(version) + ":" + std::string(length, char('a' + version % 26)) +
           ":end";
}

std::optional<long> VersionOf(const std::string& text) {
    if (text.size() < 2 || text[0] != 'v')
        return std::nullopt;
    size_t colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    long version = 0;
    try {
        version = std::stol(text.substr(1, colon - 1));
    } catch (...) {
        return std::nullopt;
    }
    if (version < 0 || text != VersionText(version))
        return std::nullopt;
    return version;
}

fs::path SaveSession::Page(const fs::path& root, bool back) {
    return root / "TEST" / (back ? "ab_.tst" : "ab.tst");
}

fs::path SaveSession::NotesFile(const fs::path& root) {
    return root / "suppnote" / "n.not";
}

void SaveSession::Prepare(const fs::path& root) {
    MakeDataRoot(root, {FormatSpec{}});
    WriteLines(NotesFile(root), {"[1] notes", "placeholder"});
    SaveSession session(root);
    auto& library = session.session_.Library();
    library.PrepareNewCard();
    library.FinishNameDialog({"ab", "Me", "11", "Pard", "22"});
    for (long version : {0L, 1L, 2L})
        session.Save(version);
}

SaveSession::SaveSession(const fs::path& root)
    : ctx_(root, prompter, trap_), session_(ctx_, views_, views_, chooser_),
      notes_(ctx_, session_.Changed(), notesView_) {
    views_.library = &session_.Library();
    session_.Changed().AddView(&views_);
    ctx_.ReadSystemSettings();
    session_.Load();
    // The notes file first: with no card open, nothing asks to associate it.
    notes_.ChooseFile("n.not");
    session_.Library().FillCardList();
    if (!session_.Library().Entries().empty())
        session_.Library().OpenCard(0);
}

bool SaveSession::SaveCardPage(bool back, long version) {
    if (ctx_.Card.BackSide() != back) {
        views_.backSide = back;
        if (!session_.Library().SwitchSide(back))
            return false;
    }
    if (!session_.Changed().CardOpen() || ctx_.Card.Page().Count(TextField) == 0)
        return false;
    ctx_.Card.Edit().Field(TextField, 0).text = VersionText(version);
    session_.Changed().SetChangedState(ChangedState::CardChangedCode);
    return session_.Changed().SaveCard();
}

bool SaveSession::Save(long version) {
    size_t errorsBefore = errors.shown.size();
    bool saved = false;
    switch (FileOf(version)) {
    case Saved::Front:
        saved = SaveCardPage(false, version);
        break;
    case Saved::Back:
        saved = SaveCardPage(true, version);
        break;
    case Saved::Notes:
        notes_.StartEditing();
        notesView_.editBox = "[1] notes\n" + VersionText(version);
        notes_.EditChanged();
        saved = notes_.SaveNotesEdit();
        break;
    }
    return saved && errors.shown.size() == errorsBefore;
}

std::optional<long> SaveSession::CardVersion(const fs::path& root, bool back) {
    std::error_code ec;
    if (!fs::is_regular_file(Page(root, back), ec))
        return std::nullopt;
    CardPage page;
    LoadReport report = CardFile::ParsePage(page, ReadFile(Page(root, back)), back);
    if (!report.Complete() || page.Count(TextField) == 0)
        return std::nullopt;
    return VersionOf(page.Field(TextField, 0).text);
}

std::optional<long> SaveSession::NotesVersion(const fs::path& root) {
    auto lines = ReadLines(NotesFile(root));
    if (lines.size() != 2 || lines[0] != "[1] notes")
        return std::nullopt;
    return VersionOf(lines[1]);
}

} // namespace cw::test
