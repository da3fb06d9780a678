// The picture side of the document: loading a picture, the picture commands and the
// logo save.
#include <filesystem>
#include <optional>

#include "app/CommandIds.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "image/LbComposite.h"
#include "logo/LogoFromFile.h"
#include "image/LbBudget.h"
#include "logo/LogoPipeline.h"
#include "logo/PictureLoad.h"
#include "platform/LongTask.h"
#include "platform/Services.h"

namespace {

// Long picture work is one job of the image library, with the resource budget a
// command of the command line has (opened on the thread the work runs on). What it
// throws comes back as a message; the work only fills what the caller puts in place
// after it succeeded, so a failure changes nothing.
std::string RunPictureJob(const platform::LongTask& task, const std::function<void()>& work) {
    return platform::RunLongTask(task, [&work] {
        LbJob job;
        work();
    });
}

}  // namespace

bool CLyraDoc::OpenPicture(const std::string& path, int type) {
    std::optional<platform::WaitCursor> wait(std::in_place);
    const std::string name = std::filesystem::path(path).filename().string();
    std::unique_ptr<LbImage> source, opened;
    bool turned = false;
    // Reads the picture in full before anything is replaced; false (after telling the
    // person) when it cannot be read or the person stopped it.
    auto read = [&] {
        // Any picture the image library reads, by its content; progress and Escape
        // through the monitor while it is read.
        source = std::make_unique<LbImage>();
        opened.reset();
        LbImage monitor;
        std::string error;
        bool loaded = false;
        // Upright as the camera recorded; transparency is composed below, keeping the
        // picture as opened for another background.
        const std::string thrown =
            RunPictureJob({"Opening " + name, [&monitor] { return int(monitor.GetProgress()); },
                           [&monitor] { monitor.SetEscape(1); }},
                          [&] {
                              loaded = logo::LoadPicture(path, type, *source, error, &monitor, false,
                                                         logo::PictureView{true, false, kLbWhite}, &turned);
                          });
        if (!thrown.empty()) {
            loaded = false;
            error = thrown;
        }
        if (loaded && LbHasTransparency(*source)) {
            opened = std::make_unique<LbImage>(*source);
            loaded = opened->IsValid() && LbComposeOver(*source, m_logoBackground);
            if (!loaded) error = source->GetLastError();
        } else if (loaded) {
            loaded = logo::PromoteToTrueColor(*source);
            if (!loaded) error = source->GetLastError();
        }
        if (loaded) return true;
        wait.reset();
        // Stopped by the person, or not a picture: the page stays as it was.
        if (monitor.GetEscape() != 0)
            platform::services().status->Show(logo::kCancelledText);
        else
            platform::services().prompts->Show(logo::CannotOpenText(path, error), platform::Buttons::Ok);
        return false;
    };
    if (!read()) return false;
    // Only a picture that was read replaces the old one, and only when the person agrees.
    if (HasUnsavedChanges(DataKind::Logo)) {
        wait.reset();
        if (!AskToSaveChanges({DataKind::Logo})) return false;
        wait.emplace();
        // A Yes may just have written this very file: take what it holds now.
        std::error_code same;
        if (!m_strLogoSavedPath.empty() && std::filesystem::equivalent(m_strLogoSavedPath, path, same) && !read())
            return false;
    }
    DeleteImages();
    m_pLogoImage = logo::MakeLoadedLogo(*source, type, m_bDither != 0);
    m_pSourceImage = std::move(source);
    m_pOpenedImage = std::move(opened);
    m_bTurnedUpright = turned;
    m_recipe = {path, {}, m_pOpenedImage ? m_logoBackground : kLbWhite};
    app_.m_nPage = page::Logo;
    UpdateAllViews(nullptr, hint::PictureLoaded);
    selectionStep_ = selection_;
    m_strLogoPath = path;
    // The logo as first cut from the file is what the file already holds. The steps
    // before were steps of the old picture, cleared with it: keeping that picture to go
    // back to would hold another full picture in memory. Undo stops at the picture opened.
    MarkSaved(DataKind::Logo);
    return true;
}

bool CLyraDoc::TakePicture(std::unique_ptr<LbImage> picture) {
    // The picture replaces the old one: a logo not yet saved is asked about first. A
    // picture from no file is on no disk, so its logo counts as unsaved until saved.
    if (!AskToSaveChanges({DataKind::Logo})) return false;
    // Anything still working on the old picture stops at its escape flag.
    if (m_pSourceImage) m_pSourceImage->SetEscape(1);
    m_pSourceImage = std::move(picture);
    m_recipe = {};  // no file to make the logo from
    m_pOpenedImage.reset();
    m_bTurnedUpright = false;
    // Without a loaded picture there is no working logo yet; give the view one to cut
    // into, so that the preview shows the selection at once.
    if (!m_pLogoImage) m_pLogoImage = std::make_unique<LbImage>(96, 96, 24, 0);
    HistoryOf(DataKind::Logo).Clear();
    UpdateAllViews(nullptr, hint::PictureLoaded);
    selectionStep_ = selection_;
    return true;
}

bool CLyraDoc::SaveLogo(const std::string& path, int type) {
    LbImage none;
    logo::LogoWrite result = logo::WriteLogoFile(m_pLogoImage ? *m_pLogoImage : none, path, type);
    if (result.written) {
        m_strLogoPath = path;
        MarkSaved(DataKind::Logo);
    }
    if (!result.message.empty()) platform::services().prompts->Show(result.message, platform::Buttons::Ok);
    return result.written;
}

void CLyraDoc::SetLogoBackground(LbRgbQuad colour) {
    const LbRgbQuad before = m_logoBackground;
    if (colour == before) return;
    m_logoBackground = colour;
    // Only a picture with transparency shows the background, so only its recipe names
    // it, and only then is the choice a step of the logo: undone by composing the
    // picture over the old colour again, not by keeping a copy.
    if (!m_pOpenedImage || !m_pSourceImage || !Recompose(colour)) return;
    auto put = [this](LbRgbQuad c) {
        if (!m_pOpenedImage || !Recompose(c)) return false;
        m_logoBackground = c;
        return true;
    };
    HistoryOf(DataKind::Logo).Record(
        {"Background colour", [put, before] { return put(before); }, [put, colour] { return put(colour); }});
}

bool CLyraDoc::Recompose(LbRgbQuad colour) {
    platform::WaitCursor wait;
    auto picture = std::make_unique<LbImage>(*m_pOpenedImage);
    bool done = picture->IsValid() && LbComposeOver(*picture, colour);
    for (logo::PictureCommand c : m_recipe.commands) done = done && logo::ApplyPictureCommand(*picture, c);
    if (!done) {
        platform::services().status->Show(picture->GetLastError());
        return false;
    }
    m_pSourceImage = std::move(picture);
    m_recipe.background = colour;
    UpdateAllViews(nullptr, hint::PictureChanged);
    return true;
}

void CLyraDoc::DeleteImages() {
    // An operation still running on an image stops at its escape flag.
    for (auto* image : {&m_pSourceImage, &m_pLogoImage}) {
        if (*image) (*image)->SetEscape(1);
        image->reset();
    }
    m_pOpenedImage.reset();
    m_bTurnedUpright = false;
    // The steps were steps of the picture that went.
    HistoryOf(DataKind::Logo).Clear();
}

namespace {

const char* StepName(logo::PictureCommand command) {
    switch (command) {
    case logo::PictureCommand::RotateLeft: return "Rotate Left";
    case logo::PictureCommand::RotateRight: return "Rotate Right";
    case logo::PictureCommand::FlipHorizontal: return "Flip Horizontal";
    case logo::PictureCommand::FlipVertical: return "Flip Vertical";
    }
    return "";
}

}  // namespace

bool CLyraDoc::TurnPicture(bool left) {
    // A quarter turn of a large picture takes a while: it is built beside the picture
    // (which the view keeps painting), with progress and Escape, and put in place
    // only when it is complete.
    platform::WaitCursor wait;
    LbImage& picture = *m_pSourceImage;
    LbImage turned;
    bool done = false;
    picture.SetProgress(0);  // the last turn left its own figure there
    const std::string thrown =
        RunPictureJob({left ? "Rotating left" : "Rotating right", [&picture] { return int(picture.GetProgress()); },
                       [&picture] { picture.SetEscape(1); }},
                      [&] { done = left ? picture.RotateLeft(&turned) : picture.RotateRight(&turned); });
    picture.SetEscape(0);
    if (!thrown.empty()) {
        platform::services().status->Show("The picture cannot be turned: " + thrown + ".");
        return false;
    }
    if (!done) {
        platform::services().status->Show(picture.GetLastError());
        return false;
    }
    picture.Transfer(turned);
    return true;
}

bool CLyraDoc::ApplyPicture(logo::PictureCommand command) {
    if (!m_pSourceImage) return false;
    bool done = false;
    switch (command) {
    case logo::PictureCommand::RotateLeft:
    case logo::PictureCommand::RotateRight:
        done = TurnPicture(command == logo::PictureCommand::RotateLeft);
        break;
    case logo::PictureCommand::FlipHorizontal:
    case logo::PictureCommand::FlipVertical: {
        platform::WaitCursor wait;
        done = logo::ApplyPictureCommand(*m_pSourceImage, command);
        // A flip refused (the memory limit) says why, as a refused turn does.
        if (!done) platform::services().status->Show(m_pSourceImage->GetLastError());
        break;
    }
    }
    if (done) UpdateAllViews(nullptr, hint::PictureChanged);
    selectionStep_ = selection_;
    return done;
}

bool CLyraDoc::UndoPicture(logo::PictureCommand command) {
    // A turn is taken back by the opposite turn and a flip by the same flip: the
    // history keeps no copy of the picture, whatever its size.
    logo::PictureCommand inverse = command;
    if (command == logo::PictureCommand::RotateLeft) inverse = logo::PictureCommand::RotateRight;
    if (command == logo::PictureCommand::RotateRight) inverse = logo::PictureCommand::RotateLeft;
    if (!ApplyPicture(inverse)) return false;
    if (!m_recipe.commands.empty()) m_recipe.commands.pop_back();
    return true;
}

void CLyraDoc::RecordPicture(logo::PictureCommand command) {
    m_recipe.commands.push_back(command);
    HistoryOf(DataKind::Logo).Record({StepName(command), [this, command] { return UndoPicture(command); },
                                      [this, command] {
                                          if (!ApplyPicture(command)) return false;
                                          m_recipe.commands.push_back(command);
                                          return true;
                                      }});
}

void CLyraDoc::RotatePicture(bool left) {
    const auto command = left ? logo::PictureCommand::RotateLeft : logo::PictureCommand::RotateRight;
    if (ApplyPicture(command)) RecordPicture(command);
}

void CLyraDoc::FlipPicture(bool horizontal) {
    const auto command = horizontal ? logo::PictureCommand::FlipHorizontal : logo::PictureCommand::FlipVertical;
    if (ApplyPicture(command)) RecordPicture(command);
}

void CLyraDoc::SetDither(bool on) {
    if (on == Dither()) return;
    m_bDither = on ? 1 : 0;
    UpdateAllViews(nullptr, hint::PictureChanged);
    if (!m_pSourceImage) return;
    auto put = [this](bool value) {
        m_bDither = value ? 1 : 0;
        UpdateAllViews(nullptr, hint::PictureChanged);
        return true;
    };
    HistoryOf(DataKind::Logo).Record({"Dither", [put, on] { return put(!on); }, [put, on] { return put(on); }});
}

bool CLyraDoc::CutLogo(const logo::Rect& selection) {
    if (!m_pSourceImage || !m_pLogoImage) return false;
    // A selection that holds no pixel of the picture leaves the working logo as it was.
    logo::DeriveLogo(*m_pSourceImage, selection, m_bDither != 0, *m_pLogoImage);
    selection_ = selection;
    return true;
}

void CLyraDoc::FinishSelection() {
    if (!m_pSourceImage || selection_ == selectionStep_) return;
    const logo::Rect before = selectionStep_, after = selection_;
    selectionStep_ = selection_;
    HistoryOf(DataKind::Logo).Record({"Move selection", [this, before] { return PutSelection(before); },
                                      [this, after] { return PutSelection(after); }});
}

bool CLyraDoc::PutSelection(const logo::Rect& selection) {
    if (!m_pSourceImage) return false;
    selection_ = selection;
    UpdateAllViews(nullptr, hint::SelectionChanged);
    selectionStep_ = selection_;
    return true;
}

void CLyraDoc::SetZoom(float zoom, bool fitToWindow) {
    m_fZoom = zoom;
    m_bFitToWindow = fitToWindow ? 1 : 0;
}

void CLyraDoc::RegisterPictureCommands() {
    OnCommand(cmd::RotateLeft, [this] { RotatePicture(true); });
    OnCommand(cmd::RotateRight, [this] { RotatePicture(false); });
    OnCommand(cmd::FlipHorizontal, [this] { FlipPicture(true); });
    OnCommand(cmd::FlipVertical, [this] { FlipPicture(false); });
    OnCommand(cmd::Cropping, [this] { UpdateAllViews(nullptr, hint::PictureChanged); });
    OnCommand(cmd::DitherToggle, [this] { SetDither(!Dither()); });
    OnCommand(cmd::PictureInfo, [] {});

    auto pictureCommand = [this](platform::CmdUI& ui) { ui.Enable(App().m_nPage == page::Logo && m_pSourceImage); };
    OnUpdateCommandRange(cmd::RotateLeft, cmd::FlipVertical, pictureCommand);
    OnUpdateCommand(cmd::Cropping, [](platform::CmdUI& ui) { ui.Enable(false); });
    OnUpdateCommand(cmd::DitherToggle, [this, pictureCommand](platform::CmdUI& ui) {
        pictureCommand(ui);
        ui.SetCheck(m_bDither);
    });
    OnUpdateCommand(cmd::PictureInfo, [](platform::CmdUI& ui) { ui.Enable(true); });
}
