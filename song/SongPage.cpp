#include "song/SongPage.h"

#include <algorithm>
#include <cstdio>

#include "app/CommandIds.h"
#include "app/LyraDoc.h"
#include "platform/Services.h"
#include "song/SongBrands.h"
#include "song/SongFileCommands.h"

namespace {

constexpr int kLastSelectableRow = 250;
constexpr int kSearchWrapDown = 100;  // a downward search goes on at row 0 after this row
constexpr int kSearchWrapUp = 250;    // an upward search goes on here before row 0
constexpr int kSearchFieldLimit = 10000;

void Refuse(SongCheck check) {
    const char* text = SongCheckMessage(check);
    if (*text) platform::services().prompts->Show(text, platform::Buttons::Ok);
}

}  // namespace

std::string SongRowNumberText(int index) {
    char text[16];
    std::snprintf(text, sizeof text, "%4d", index + 1);
    return text;
}

SongPage::SongPage(CLyraDoc& doc) : doc_(doc) { RegisterCommands(); }

int SongPage::Count() const { return doc_.SongCount()[brand_]; }
const SongTable& SongPage::Table() const { return doc_.Songs()[brand_]; }

bool SongPage::AnySongs() const {
    return std::any_of(doc_.SongCount().begin(), doc_.SongCount().end(), [](int n) { return n > 0; });
}

void SongPage::RegisterCommands() {
    using platform::CmdUI;
    OnCommand(kSongInputCommand, [this] { Input(); });
    OnCommand(cmd::FileNew, [this] { New(); });
    OnCommand(cmd::FileOpen, [this] { Open(); });
    OnCommand(cmd::FileSave, [this] { Save(); });
    OnUpdateCommand(cmd::FileSave, [this](CmdUI& ui) { ui.Enable(AnySongs() && doc_.SongsTouched()); });
    OnCommand(cmd::FileSaveAs, [this] { SaveAs(); });
    OnUpdateCommand(cmd::FileSaveAs, [this](CmdUI& ui) { ui.Enable(AnySongs()); });
    OnCommand(cmd::EditDelete, [this] { Delete(); });
    OnUpdateCommand(cmd::EditDelete, [this](CmdUI& ui) { ui.Enable(editMode_ && AnySongs()); });
    OnCommand(cmd::EditFind, [this] { Find(); });
    // Whenever the list shows songs: there is something to find.
    OnUpdateCommand(cmd::EditFind, [this](CmdUI& ui) { ui.Enable(!rows_.empty()); });
    OnCommand(cmd::EditPaste, [this] { Paste(); });
    for (bool redo : {false, true}) {
        OnCommand(redo ? cmd::EditRedo : cmd::EditUndo, [this, redo] { doc_.RunHistoryCommand(DataKind::Songs, redo); });
        OnUpdateCommand(redo ? cmd::EditRedo : cmd::EditUndo,
                        [this, redo](CmdUI& ui) { doc_.UpdateHistoryCommand(DataKind::Songs, redo, ui); });
    }

    // Brand commands: the menu items carry a check mark, the toolbar buttons and the
    // copy items are disabled for the brand already shown.
    const int menuIds[kBrandCount] = {cmd::BrandZandri, cmd::BrandPellix, cmd::BrandQuorvel};
    for (int b = 0; b < kBrandCount; ++b) {
        OnCommand(menuIds[b], [this, b] { SwitchBrand(b); });
        OnUpdateCommand(menuIds[b], [this, b](CmdUI& ui) { ui.SetCheck(brand_ == b); });
        OnCommand(cmd::ShowZandri + b, [this, b] { SwitchBrand(b); });
        OnUpdateCommand(cmd::ShowZandri + b, [this, b](CmdUI& ui) { ui.Enable(brand_ != b); });
        OnCommand(cmd::CopyToZandri + b, [this, b] { CopyTo(b); });
        OnUpdateCommand(cmd::CopyToZandri + b, [this, b](CmdUI& ui) { ui.Enable(brand_ != b); });
    }
}

void SongPage::ClearFields() { ShowFields(SongFields{}); }

void SongPage::Input() {
    SongFields fields;
    if (!ReadFields(fields)) return;
    if (editMode_)
        ChangeSong(std::move(fields));
    else
        AddSong(std::move(fields));
}

void SongPage::AddSong(SongFields f) {
    SongCheck check = CheckNewSong(f, Count());
    if (check != SongCheck::Ok) {
        Refuse(check);
        return;
    }
    int n = Count();
    SongRow row{SongRowNumberText(n), f.title, f.singer, f.number};
    rows_.insert(rows_.begin() + std::min<size_t>(n, rows_.size()), std::move(row));
    SelectRow(n);
    doc_.AddSong(brand_, f);
    ClearFields();
    doc_.SetSongListFilled(true);
    RowsChanged();
    FocusTitleField();
}

void SongPage::ChangeSong(SongFields f) {
    int r = editedRow_;
    SongCheck check = CheckChangedSong(f);
    if (check != SongCheck::Ok) {
        Refuse(check);
    } else if (r >= 0 && r < Count()) {
        // A row that is no longer one of the brand's songs (the lists were emptied by
        // New while it was being edited) takes no change.
        if (r < static_cast<int>(rows_.size())) {
            rows_[r].title = f.title;
            rows_[r].singer = f.singer;
            rows_[r].number = f.number;
        }
        SelectRow(r);
        doc_.ChangeSong(brand_, r, f);
        doc_.SetSongListFilled(true);
        RowsChanged();
        FocusTitleField();
    }
    ClearFields();
    editedRow_ = -1;
    editMode_ = false;
}

void SongPage::StartEdit(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    if (std::none_of(rows_.begin(), rows_.end(), [](const SongRow& r) { return r.selected; })) return;
    editMode_ = true;
    editedRow_ = row;
    ShowFields(SongFields{rows_[row].title, rows_[row].singer, rows_[row].number});
}

void SongPage::SwitchBrand(int b) {
    ClearFields();
    brand_ = b;
    rows_.clear();
    SetMainWindowTitle(BrandWindowTitle(b));
    editedRow_ = -1;
    editMode_ = false;
    int n = Count();
    doc_.SetSongListFilled(n > 0);
    const SongTable& table = Table();
    for (int i = 0; i < n; ++i) {
        rows_.push_back(SongRow{SongRowNumberText(i), table.title[i], table.singer[i], table.number[i]});
        // A song without a title or number (only a foreign file has one) ends the
        // list; it and the songs after it stay in the table.
        if (i + 1 >= SongTable::kCapacity || table.title[i + 1].empty() || table.number[i + 1].empty()) break;
    }
    RowsChanged();
}

bool SongPage::BeginCopy(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return false;
    copySource_ = row;
    return true;
}

void SongPage::CopyTo(int target) {
    if (!doc_.CopySong(brand_, copySource_, target)) Refuse(SongCheck::BrandFull);
}

void SongPage::New() {
    if (!doc_.AskToSaveChanges({DataKind::Songs})) return;
    rows_.clear();
    doc_.ClearSongs();
    RowsChanged();
}

void SongPage::Open() {
    std::optional<std::string> path = AskSongFileToOpen();
    // The document reads the file before it replaces the lists, then shows them here.
    if (path) doc_.OpenSongs(*path);
}

void SongPage::OnUpdate(platform::View*, long hint) {
    if (hint == hint::SongsRead) SwitchBrand(0);
    // An undo or redo changed a brand's list: the page shows that list as it is now.
    if (hint >= hint::SongsChanged && hint < hint::SongsChanged + kBrandCount) SwitchBrand(int(hint - hint::SongsChanged));
}

void SongPage::Save() { doc_.SaveSongs(false); }

void SongPage::SaveAs() { doc_.SaveSongs(true); }

void SongPage::Delete() {
    std::vector<int> selected;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].selected) selected.push_back(static_cast<int>(i));
    if (selected.empty()) return;
    // Several songs at once are easy to select by mistake: one question for all.
    if (selected.size() > 1 && platform::services().prompts->Show(
                                   "선택한 노래 " + std::to_string(selected.size()) + "곡을 삭제 하시겠습니까?",
                                   platform::Buttons::YesNo) != platform::Answer::Yes)
        return;
    // The Delete key belongs to the text being typed.
    SongFocus focus = FocusedControl();
    const bool typing = focus == SongFocus::Title || focus == SongFocus::Singer || focus == SongFocus::Number;
    std::vector<int> deleted;
    int count = Count();
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        rows_[*it].selected = rows_[*it].focused = false;
        if (!typing && DeleteEntry(*it, count)) {
            deleted.push_back(*it);
            --count;
        }
    }
    // One step for all the songs deleted.
    if (!deleted.empty()) doc_.DeleteSongs(brand_, deleted);
    SelectRow(selected.front());
    RowsChanged();
}

bool SongPage::DeleteEntry(int r, int n) {
    if (n <= 0 || r < 0 || r >= n) return false;
    if (n == 1) doc_.SetSongListFilled(false);
    // The list rows keep their number texts; the cells below r move up one row.
    if (r < static_cast<int>(rows_.size())) {
        for (size_t i = r; i + 1 < rows_.size(); ++i) {
            rows_[i].title = std::move(rows_[i + 1].title);
            rows_[i].singer = std::move(rows_[i + 1].singer);
            rows_[i].number = std::move(rows_[i + 1].number);
        }
        rows_.pop_back();
    }
    SelectRow(n - 2);
    ClearFields();
    editMode_ = false;
    return true;
}

void SongPage::Find() { OpenFindDialog(lastSearch_); }

bool SongPage::FindNext(const std::string& text, bool down) {
    lastSearch_ = text;
    int hit = Search(text, searchPos_, down);
    if (hit < 0) return false;
    SelectRow(hit);
    searchPos_ = hit;
    RowsChanged();
    return true;
}

int SongPage::Search(const std::string& text, int start, bool down) const {
    if (start < 0 || start > kLastSelectableRow || text.empty()) return -1;
    const SongTable& table = doc_.Songs()[brand_];
    const std::vector<std::string>* order[3];
    if (down) {
        order[0] = &table.title, order[1] = &table.number, order[2] = &table.singer;
    } else {
        order[0] = &table.singer, order[1] = &table.number, order[2] = &table.title;
    }
    int row = down ? start + 1 : start - 1;
    if (row < 0) row = kSearchWrapUp;
    int field = 0;
    int count = Count();
    for (int visited = 0; visited < kSearchFieldLimit; ++visited) {
        // Slots past the brand's songs may still hold old text; they are not songs.
        if (row < count && (*order[field])[row].find(text) != std::string::npos) return row;
        if (++field < 3) continue;
        field = 0;
        if (down) {
            if (++row > kSearchWrapDown) row = 0;
        } else if (--row < 0) {
            row = kSearchWrapUp;
        }
    }
    return -1;
}

void SongPage::Paste() {
    std::string text = platform::services().clipboard->Text();
    if (!text.empty()) PasteIntoFocusedField(text);
}

void SongPage::SelectRow(int row) {
    if (row < 0 || row > kLastSelectableRow) return;
    for (SongRow& r : rows_) r.selected = r.focused = false;
    if (row < static_cast<int>(rows_.size())) rows_[row].selected = rows_[row].focused = true;
    ScrollToRow(row);
}

void SongPage::SetSelectedRows(const std::vector<int>& rows) {
    for (SongRow& r : rows_) r.selected = false;
    for (int i : rows)
        if (i >= 0 && i < static_cast<int>(rows_.size())) rows_[i].selected = true;
}

void SongPage::OnActivateView(bool) {
    FocusTitleField();
    searchPos_ = Count();
}
