#pragma once
// The one document: everything the person edits on every page, and the flags that the
// close sequence and the command-enable rules read.
#include <array>
#include <initializer_list>
#include <memory>
#include <string>

#include "app/UnsavedChanges.h"
#include "image/LbImage.h"
#include "logo/LogoRecipe.h"
#include "memo/MemoTable.h"
#include "platform/DocView.h"
#include "song/SongTable.h"

class CLyraApp;

class CLyraDoc : public platform::Document {
public:
    explicit CLyraDoc(CLyraApp& app);
    ~CLyraDoc() override;

    CLyraApp& App() { return app_; }

    float m_fZoom = 1.0f;          // zoom of the logo view; never changed
    int m_bFitToWindow = 0;        // logo view stretches the picture when set; never changed
    int m_bMemoSaveEnabled = 1;    // Save enabled on the memo page; never changed
    int m_bDither = 0;             // dither the working logo
    std::string m_strMemoPath;     // memo file last opened or written
    std::string m_strLogoPath;     // picture last opened or logo last saved
    std::string m_strLogoSavedPath;  // logo last saved: where Save writes it again
    std::string m_strSongPath;     // song file last opened or written
    int m_nMemoLast = 0;           // last row the person may select and the writer looks at
    MemoTable m_memo{};
    std::unique_ptr<LbImage> m_pSourceImage;  // the picture as loaded
    std::unique_ptr<LbImage> m_pLogoImage;    // the working logo derived from it
    logo::Recipe m_recipe;                    // the picture's file and the commands since
    // The picture as opened, upright, with its transparency, kept only when it has
    // some: a new background composes it again.
    std::unique_ptr<LbImage> m_pOpenedImage;
    bool m_bTurnedUpright = false;            // the file's orientation turned the picture
    LbRgbQuad m_logoBackground{255, 255, 255, 0};  // under transparent parts: white at first
    std::array<SongTable, kBrandCount> m_song;
    // Set by song input, change, delete and reading a song file; the song page enables
    // Save and Find by it. Whether closing asks about songs is HasUnsavedChanges.
    int m_bSongModified = 0;
    std::array<int, kBrandCount> m_nSongCount{0, 0, 0};
    int m_bSongListFilled = 1;
    int m_bMemoFindEnabled = 0;

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

private:
    void RegisterPictureCommands();
    // A file was opened or written: it joins the recent files.
    void FileTaken(const std::string& path);
    // The page of a file just opened comes to the front, where the person looks.
    void ShowPageOf(int page);
    bool OpenMemo(const std::string& path);
    bool SaveWithDialog(DataKind kind);
    CLyraApp& app_;
    UnsavedChanges baselines_;
};
