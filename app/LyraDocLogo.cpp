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
    // Any picture the image library reads, by its content; progress and Escape
    // through the monitor while it is read.
    auto source = std::make_unique<LbImage>();
    LbImage monitor;
    std::string error;
    bool loaded = false;
    bool turned = false;
    const std::string name = std::filesystem::path(path).filename().string();
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
    if (!loaded) {
        wait.reset();
        // Stopped by the person, or not a picture: the page stays as it was.
        if (monitor.GetEscape() != 0)
            platform::services().status->Show(logo::kCancelledText);
        else
            platform::services().prompts->Show(logo::CannotOpenText(path, error), platform::Buttons::Ok);
        return false;
    }
    std::unique_ptr<LbImage> opened;
    if (loaded && LbHasTransparency(*source)) {
        opened = std::make_unique<LbImage>(*source);
        loaded = opened->IsValid() && LbComposeOver(*source, m_logoBackground);
    } else if (loaded) {
        loaded = logo::PromoteToTrueColor(*source);
    }
    if (!loaded && error.empty()) error = source->GetLastError();
    // Only a picture that was read replaces the old one, and only when the person agrees.
    if (HasUnsavedChanges(DataKind::Logo)) {
        wait.reset();
        if (!AskToSaveChanges({DataKind::Logo})) return false;
        wait.emplace();
    }
    DeleteImages();
    m_pLogoImage = logo::MakeLoadedLogo(*source, type, m_bDither != 0);
    m_pSourceImage = std::move(source);
    m_pOpenedImage = std::move(opened);
    m_bTurnedUpright = turned;
    m_recipe = {path, {}, m_pOpenedImage ? m_logoBackground : kLbWhite};
    app_.m_nPage = page::Logo;
    UpdateAllViews(nullptr, hint::PictureLoaded);
    m_strLogoPath = path;
    // The logo as first cut from the file is what the file already holds.
    MarkSaved(DataKind::Logo);
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
    if (colour == m_logoBackground) return;
    m_logoBackground = colour;
    // Only a picture with transparency shows the background, so only its recipe names it.
    if (!m_pOpenedImage || !m_pSourceImage) return;
    platform::WaitCursor wait;
    auto picture = std::make_unique<LbImage>(*m_pOpenedImage);
    bool done = picture->IsValid() && LbComposeOver(*picture, colour);
    for (logo::PictureCommand c : m_recipe.commands) done = done && logo::ApplyPictureCommand(*picture, c);
    if (!done) {
        platform::services().status->Show(picture->GetLastError());
        return;
    }
    m_pSourceImage = std::move(picture);
    m_recipe.background = colour;
    UpdateAllViews(nullptr, hint::PictureChanged);
}

void CLyraDoc::DeleteImages() {
    // An operation still running on an image stops at its escape flag.
    for (auto* image : {&m_pSourceImage, &m_pLogoImage}) {
        if (*image) (*image)->SetEscape(1);
        image->reset();
    }
    m_pOpenedImage.reset();
    m_bTurnedUpright = false;
}

void CLyraDoc::RegisterPictureCommands() {
    // The transforms change the picture in place; the view cuts the logo again.
    auto transform = [this](int id, logo::PictureCommand command) {
        OnCommand(id, [this, command] {
            if (!m_pSourceImage) return;
            platform::WaitCursor wait;
            if (logo::ApplyPictureCommand(*m_pSourceImage, command)) m_recipe.commands.push_back(command);
            UpdateAllViews(nullptr, hint::PictureChanged);
        });
    };
    // A quarter turn of a large picture takes a while: it is built beside the picture
    // (which the view keeps painting), with progress and Escape, and put in place
    // only when it is complete.
    auto turn = [this](int id, bool left) {
        OnCommand(id, [this, left] {
            if (!m_pSourceImage) return;
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
                return;
            }
            if (!done) {
                platform::services().status->Show(picture.GetLastError());
                return;
            }
            picture.Transfer(turned);
            m_recipe.commands.push_back(left ? logo::PictureCommand::RotateLeft : logo::PictureCommand::RotateRight);
            UpdateAllViews(nullptr, hint::PictureChanged);
        });
    };
    turn(cmd::RotateLeft, true);
    turn(cmd::RotateRight, false);
    transform(cmd::FlipHorizontal, logo::PictureCommand::FlipHorizontal);
    transform(cmd::FlipVertical, logo::PictureCommand::FlipVertical);
    OnCommand(cmd::Cropping, [this] { UpdateAllViews(nullptr, hint::PictureChanged); });
    OnCommand(cmd::DitherToggle, [this] {
        m_bDither = !m_bDither;
        UpdateAllViews(nullptr, hint::PictureChanged);
    });
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
