#pragma once
// The one document: everything the person edits on every page, and the flags that the
// close sequence and the command-enable rules read. The pages read it and change it only
// through its operations; every change of the data is one step of its kind's undo history.
#include <array>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/EditHistory.h"
#include "app/UnsavedChanges.h"
#include "image/LbImage.h"
#include "logo/LogoRecipe.h"
#include "logo/SelectionGeometry.h"
#include "memo/MemoBook.h"
#include "platform/DocView.h"
#include "song/SongRules.h"
#include "song/SongTable.h"

class CLyraApp;

class CLyraDoc : public platform::Document {
public:
    explicit CLyraDoc(CLyraApp& app);
    ~CLyraDoc() override;

    CLyraApp& App() { return app_; }

    // ---- What the pages read ----
    const MemoTable& Memo() const { return memo_.table; }
    const MemoBook& MemoList() const { return memo_; }
    int MemoLast() const { return memo_.last; }
    bool MemoFindEnabled() const { return m_bMemoFindEnabled != 0; }
    bool MemoSaveEnabled() const { return m_bMemoSaveEnabled != 0; }
    const SongTables& Songs() const { return m_song; }
    const SongCounts& SongCount() const { return m_nSongCount; }
    // Songs were typed, changed, deleted or read since the program started: from then
    // on the song page offers Save whenever it shows songs (a save does not end it).
    bool SongsTouched() const { return m_bSongModified != 0; }
    bool SongListFilled() const { return m_bSongListFilled != 0; }
    const LbImage* SourceImage() const { return m_pSourceImage.get(); }
    const LbImage* LogoImage() const { return m_pLogoImage.get(); }
    const logo::Recipe& Recipe() const { return m_recipe; }
    bool Dither() const { return m_bDither != 0; }
    bool TurnedUpright() const { return m_bTurnedUpright; }
    LbRgbQuad LogoBackground() const { return m_logoBackground; }
    float Zoom() const { return m_fZoom; }
    bool FitToWindow() const { return m_bFitToWindow != 0; }
    const std::string& MemoPath() const { return m_strMemoPath; }
    const std::string& LogoPath() const { return m_strLogoPath; }
    const std::string& SongPath() const { return m_strSongPath; }

    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    bool SaveModified() override { return true; }  // AskToSaveChanges does all asking

    // ---- Unsaved changes ----
    // What a save of this kind would keep: the memo file's bytes, the song file's bytes,
    // the working logo's pixels ("" without one).
    std::string SavedForm(DataKind kind) const;
    // The data differs from what was last opened or saved (a logo only while there is one).
    bool HasUnsavedChanges(DataKind kind) const;
    // The data as it stands now matches its file.
    void MarkSaved(DataKind kind) { baselines_.MarkSaved(kind, SavedForm(kind)); }
    // The one question before data is closed or replaced: for each of the kinds, memo
    // first, that has unsaved changes, asks whether to save it. Yes saves through the
    // kind's save dialog and goes on only when the file was written; No goes on; Cancel
    // stops. True when the caller may go on and drop the data.
    bool AskToSaveChanges(std::initializer_list<DataKind> kinds);

    // Save (Ctrl+S) on the memo and logo pages: writes the file the data was last
    // saved to (the memo also to the memo file it was opened from) without asking; the
    // first time, and always for Save As, proposes a name, asks, and saves by extension.
    // A picture opened is never a save target: the logo is not the photo it was cut from.
    void OnFileSave(bool askForName = false);
    std::string ProposedSaveName() const;
    // Where Save writes data of a kind without asking; "" until there is such a file.
    std::string SaveTarget(DataKind kind) const;

    // Memo side.
    bool WriteMemo(const std::string& path);  // writes, records the path, marks the memo saved
    // The close-time "Save memo file" dialog; true when the memo file was written.
    bool SaveMemoWithDialog();

    // Song side: the song save, asking for a name the first time (or always, with
    // askForName); true when the file was written.
    bool SaveSongs(bool askForName);
    bool SaveSongsWithDialog();
    // Reads a song file into the three tables after asking about unsaved songs; false,
    // with nothing changed, when it cannot be read or the person cancelled. The song
    // page is shown when the window has one.
    bool OpenSongs(const std::string& path);

    // Picture side (logo pipeline).
    // A picture replaces the old one only once it has been read and the person agreed;
    // otherwise nothing changes.
    bool OpenPicture(const std::string& path, int type);
    // True when the logo was written.
    bool SaveLogo(const std::string& path, int type);
    // The colour transparent parts of the picture are composed over (white at first):
    // the picture is composed again from the file's and the picture commands since are
    // applied again; the logo follows.
    void SetLogoBackground(LbRgbQuad colour);

    // The logo save dialog ("logo.bmp" proposed), then the save; true when written.
    bool SaveLogoWithDialog();
    void DeleteImages();

    // ---- Memo edits ----
    // Typing reached the row: it joins the rows in play (no step of its own).
    void TouchMemoRow(int row);
    // Enter (or, with inputButton, the Input button) stores a contact in the row.
    MemoCommit CommitMemoRow(int row, const MemoInput& input, bool inputButton, bool& dbcs, MemoOverLimit* over);
    // Deletes the rows; true when the list was emptied on the way.
    bool DeleteMemoRows(const std::vector<int>& rows);
    void ImportMemo(const std::vector<MemoInput>& rows, bool replace);
    // The whole list at once, as one step named name.
    void SetMemoList(const MemoBook& list, const std::string& name);
    void SetMemoFindEnabled(bool on) { m_bMemoFindEnabled = on ? 1 : 0; }
    // The memo file the list belongs to: where Save writes it.
    void SetMemoPath(std::string path) { m_strMemoPath = std::move(path); }

    // ---- Song edits (brand 0..2) ----
    void AddSong(int brand, const SongFields& song);
    void ChangeSong(int brand, int row, const SongFields& song);
    void DeleteSongs(int brand, const std::vector<int>& rows);
    // Appends song slot of brand from to brand to, as stored (see CopySongToBrand).
    bool CopySong(int from, int slot, int to);
    // Empties the three lists (New): a new song file starts with no history.
    void ClearSongs();
    void SetSongListFilled(bool on) { m_bSongListFilled = on ? 1 : 0; }

    // ---- Picture edits ----
    // A picture that comes from no file (a screen capture) replaces the old one after
    // the question about an unsaved logo; false when the person kept the old one.
    bool TakePicture(std::unique_ptr<LbImage> picture);
    // A quarter turn, with progress and Escape; a turn that failed says why.
    void RotatePicture(bool left);
    void FlipPicture(bool horizontal);
    void SetDither(bool on);
    // The selection, in picture pixels, cut into the working logo. The selection box
    // belongs to the logo view; the selection and the logo it cuts are the document's.
    bool CutLogo(const logo::Rect& selection);
    const logo::Rect& Selection() const { return selection_; }
    // The person let go of the selection box: a selection moved or sized since the last
    // step becomes one, undone by putting the box back.
    void FinishSelection();
    // How the logo view shows the picture (not an edit).
    void SetZoom(float zoom, bool fitToWindow);

    // ---- Undo and redo, one history for each kind of data ----
    bool Undo(DataKind kind);
    bool Redo(DataKind kind);
    const EditHistory& History(DataKind kind) const { return history_[static_cast<size_t>(kind)]; }
    // Edit > Undo (or, with redo, Redo) for the data of a kind, and its menu state:
    // enabled when there is a step, the caption naming it.
    void RunHistoryCommand(DataKind kind, bool redo);
    void UpdateHistoryCommand(DataKind kind, bool redo, platform::CmdUI& ui) const;
    // The kind of data of the page mode.
    DataKind KindOnPage() const;

private:
    void RegisterPictureCommands();
    void RegisterHistoryCommands();
    // The background under transparent parts, composed again; false when it failed.
    bool Recompose(LbRgbQuad colour);
    // A file was opened or written: it joins the recent files.
    void FileTaken(const std::string& path);
    // The page of a file just opened comes to the front, where the person looks.
    void ShowPageOf(int page);
    bool OpenMemo(const std::string& path);
    bool SaveWithDialog(DataKind kind);
    EditHistory& HistoryOf(DataKind kind) { return history_[static_cast<size_t>(kind)]; }
    // Runs an edit of the memo list; when it changed what a save writes, it becomes one
    // step named name, undone by putting the list back.
    template <class Edit>
    auto EditMemo(const std::string& name, Edit edit);
    // Runs an edit of one brand's list as one step, kept as the rows it could touch.
    template <class Edit>
    void EditSongs(int brand, const std::string& name, Edit edit);
    void MemoChanged();
    void SongsChanged();
    // Puts a picture command in effect or takes it back; false when it failed.
    bool ApplyPicture(logo::PictureCommand command);
    bool UndoPicture(logo::PictureCommand command);
    void RecordPicture(logo::PictureCommand command);
    bool TurnPicture(bool left);
    bool PutSelection(const logo::Rect& selection);

    CLyraApp& app_;
    UnsavedChanges baselines_;
    std::array<EditHistory, kAllDataKinds.size()> history_;

    float m_fZoom = 1.0f;          // zoom of the logo view (ZoomIn, ZoomOut, Actual Size)
    int m_bFitToWindow = 0;        // logo view stretches the picture when set (Fit to Window)
    int m_bMemoSaveEnabled = 1;    // Save enabled on the memo page; never changed
    int m_bDither = 0;             // dither the working logo
    std::string m_strMemoPath;     // memo file last opened or written
    std::string m_strLogoPath;     // picture last opened or logo last saved
    std::string m_strLogoSavedPath;  // logo last saved: where Save writes it again
    std::string m_strSongPath;     // song file last opened or written
    MemoBook memo_;                // the table and the last row in play
    std::unique_ptr<LbImage> m_pSourceImage;  // the picture as loaded
    std::unique_ptr<LbImage> m_pLogoImage;    // the working logo derived from it
    logo::Recipe m_recipe;                    // the picture's file and the commands since
    logo::Rect selection_;                    // what the logo was last cut from
    logo::Rect selectionStep_;                // the selection as the logo's last step left it
    // The picture as opened, upright, with its transparency, kept only when it has
    // some: a new background composes it again.
    std::unique_ptr<LbImage> m_pOpenedImage;
    bool m_bTurnedUpright = false;            // the file's orientation turned the picture
    LbRgbQuad m_logoBackground{255, 255, 255, 0};  // under transparent parts: white at first
    SongTables m_song;
    // See SongsTouched. Whether closing asks about songs is HasUnsavedChanges.
    int m_bSongModified = 0;
    SongCounts m_nSongCount{0, 0, 0};
    int m_bSongListFilled = 1;
    int m_bMemoFindEnabled = 0;
};
