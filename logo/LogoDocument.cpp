// The picture side of the document: loading a picture, the picture commands and the
// logo save.
#include <optional>

#include "app/CommandIds.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "logo/LogoPipeline.h"
#include "logo/PictureCheck.h"
#include "platform/Services.h"

bool CLyraDoc::OpenPicture(const std::string& path, int type) {
    std::optional<platform::WaitCursor> wait(std::in_place);
    if (!CheckTrueColorBmp(path)) return false;
    auto source = std::make_unique<LbImage>(path, uint32_t(type));
    if (!source->IsValid()) {
        // The header looked right but the pixels could not be read.
        wait.reset();
        const std::string why = source->GetLastError();
        platform::services().prompts->Show(why.empty() ? logo::kFileReadFailText : why, platform::Buttons::Ok);
        return false;
    }
    // Only a picture that was read replaces the old one, and only when the person agrees.
    if (HasUnsavedChanges(DataKind::Logo)) {
        wait.reset();
        if (!AskToSaveChanges({DataKind::Logo})) return false;
        wait.emplace();
    }
    DeleteImages();
    m_pLogoImage = logo::MakeLoadedLogo(*source, type, m_bDither != 0);
    m_pSourceImage = std::move(source);
    app_.m_nPage = page::Logo;
    UpdateAllViews(nullptr, hint::PictureLoaded);
    m_strLogoPath = path;
    // The logo as first cut from the file is what the file already holds.
    MarkSaved(DataKind::Logo);
    return true;
}

void CLyraDoc::SaveLogo(const std::string& path, int type) {
    LbImage none;
    logo::LogoWrite result = logo::WriteLogoFile(m_pLogoImage ? *m_pLogoImage : none, path, type);
    if (result.written) {
        m_strLogoPath = path;
        MarkSaved(DataKind::Logo);
    }
    if (!result.message.empty()) platform::services().prompts->Show(result.message, platform::Buttons::Ok);
}

void CLyraDoc::DeleteImages() {
    // An operation still running on an image stops at its escape flag.
    for (auto* image : {&m_pSourceImage, &m_pLogoImage}) {
        if (*image) (*image)->SetEscape(1);
        image->reset();
    }
}

void CLyraDoc::RegisterPictureCommands() {
    // The transforms change the picture in place; the view cuts the logo again.
    auto transform = [this](int id, bool (*op)(LbImage&)) {
        OnCommand(id, [this, op] {
            if (!m_pSourceImage) return;
            platform::WaitCursor wait;
            op(*m_pSourceImage);
            UpdateAllViews(nullptr, hint::PictureChanged);
        });
    };
    transform(cmd::RotateLeft, [](LbImage& image) { return image.RotateLeft(); });
    transform(cmd::RotateRight, [](LbImage& image) { return image.RotateRight(); });
    transform(cmd::FlipHorizontal, [](LbImage& image) { return image.Mirror(); });
    transform(cmd::FlipVertical, [](LbImage& image) { return image.Flip(); });
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
