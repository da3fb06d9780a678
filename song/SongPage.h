#pragma once
// The song page without its window: the list of the current brand's songs as the list
// control shows it (rows, selection), the entry fields' edit mode, and every command
// of the page. The window (CSongTitle) derives from it, fills in the hooks at the
// bottom and mirrors Rows() in its list; tests drive it directly.
#include <string>
#include <vector>

#include "platform/DocView.h"
#include "song/SongRules.h"

class CLyraDoc;

// One row of the list: its number text and the three cells.
struct SongRow {
    std::string numberText;  // "   1" ... " 100"
    std::string title;
    std::string singer;
    std::string number;
    bool selected = false;
    bool focused = false;
};

// Which control of the page has the keyboard focus.
enum class SongFocus { Other, Title, Singer, Number, InputButton };

// Command id of the Input button.
constexpr int kSongInputCommand = 1011;

// The row number text: index + 1 right-aligned in four characters.
std::string SongRowNumberText(int index);

class SongPage : public platform::View {
public:
    explicit SongPage(CLyraDoc& doc);

    CLyraDoc& Doc() { return doc_; }
    int CurrentBrand() const { return brand_; }  // 0 Zandri, 1 Pellix, 2 Quorvel
    bool InEditMode() const { return editMode_; }
    int EditedRow() const { return editedRow_; }
    int SearchPosition() const { return searchPos_; }
    const std::string& LastSearchText() const { return lastSearch_; }
    const std::vector<SongRow>& Rows() const { return rows_; }

    // Input (button, Enter in a field): adds a song, or changes the edited one.
    void Input();
    // Double-click on a row: its cells go into the fields and Input changes it.
    void StartEdit(int row);
    // Shows brand b (0..2): fields emptied, edit mode ended, list rebuilt, title set.
    void SwitchBrand(int b);
    // Right-click on a row: remembers it for the copy commands; true when the copy
    // pop-up should open (a click beside the rows opens nothing).
    bool BeginCopy(int row);
    void CopyTo(int brand);

    void New();
    void Open();
    // Save writes the file opened or last saved (asking only the first time); Save As
    // always asks.
    void Save();
    void SaveAs();
    void Delete();
    void Find();
    // A "find next" request from the find dialog; true on a hit.
    bool FindNext(const std::string& text, bool down);
    void Paste();

    // Selects and focuses one row (0..250), clearing the others, and scrolls to it.
    void SelectRow(int row);
    // The list's own selection changed (a click): the selected row indexes.
    void SetSelectedRows(const std::vector<int>& rows);

    // The page became, or stopped being, the frame's active view.
    void OnActivateView(bool activate);
    // A song file read by the document shows the first brand's list.
    void OnUpdate(platform::View*, long hint) override;

protected:
    // ---- what the window supplies ----
    // The three fields' texts in CP949; false when they cannot be taken (the window
    // has told the person why).
    virtual bool ReadFields(SongFields& fields) = 0;
    virtual void ShowFields(const SongFields& fields) = 0;
    virtual void RowsChanged() {}
    virtual void ScrollToRow(int) {}
    virtual void SetMainWindowTitle(const std::string&) {}
    virtual void FocusTitleField() {}
    virtual SongFocus FocusedControl() const { return SongFocus::Other; }
    virtual void OpenFindDialog(const std::string& lastText) { (void)lastText; }
    // Pastes clipboard text (UTF-8, as it came) into the focused field, over its selection.
    virtual void PasteIntoFocusedField(const std::string& utf8) { (void)utf8; }

private:
    void RegisterCommands();
    void AddSong(SongFields fields);
    void ChangeSong(SongFields fields);
    // Takes row out of the list shown, the brand holding count songs; the document
    // deletes the songs afterwards in one step. False when row is not a song.
    bool DeleteEntry(int row, int count);
    void ClearFields();
    int Search(const std::string& text, int start, bool down) const;
    bool AnySongs() const;
    int Count() const;
    const SongTable& Table() const;

    CLyraDoc& doc_;
    int brand_ = 0;
    bool editMode_ = false;
    int editedRow_ = -1;
    int copySource_ = 0;
    int searchPos_ = 0;
    std::string lastSearch_;
    std::vector<SongRow> rows_;
};
