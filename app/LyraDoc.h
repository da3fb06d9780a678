#pragma once
// The one document: everything the person edits on every page, and the flags that the
// close sequence and the command-enable rules read.
#include <array>
#include <memory>
#include <string>

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
    int m_nMemoLast = 0;           // last row the person may select and the writer looks at
    MemoTable m_memo{};
    std::unique_ptr<LbImage> m_pSourceImage;  // the picture as loaded
    std::unique_ptr<LbImage> m_pLogoImage;    // the working logo derived from it
    logo::Recipe m_recipe;                    // the picture's file and the commands since
    std::array<SongTable, kBrandCount> m_song;
    int m_bMemoModified = 0;
    int m_bSongModified = 0;
    std::array<int, kBrandCount> m_nSongCount{0, 0, 0};
    int m_bSongListFilled = 1;
    int m_bMemoFindEnabled = 0;

    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    bool SaveModified() override { return true; }  // the main frame does all asking

    // Save command: propose a name, ask, save by extension.
    void OnFileSave();
    std::string ProposedSaveName() const;

    // Memo side.
    bool ReadMemo(const std::string& path);   // reads, sets the row bound, redraws with hint 0
    bool WriteMemo(const std::string& path);  // writes, records the path, clears the modified flag
    // The close-time "Save memo file" dialog; true when the memo file was written.
    bool SaveMemoWithDialog();

    // Song side: the close-time song save (its own dialog); true when the file was written.
    bool SaveSongsWithDialog();

    // Picture side (logo pipeline).
    bool OpenPicture(const std::string& path, int type);
    void SaveLogo(const std::string& path, int type);
    void DeleteImages();

private:
    void RegisterPictureCommands();
    CLyraApp& app_;
};
