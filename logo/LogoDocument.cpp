// The picture side of the document: loading a picture, the picture commands and the
// logo save. This first version only refuses pictures; the logo pipeline replaces it.
#include "app/CommandIds.h"
#include "app/LyraDoc.h"
#include "platform/Services.h"

bool CLyraDoc::OpenPicture(const std::string&, int) {
    DeleteImages();
    platform::services().prompts->Show("Pictures cannot be opened in this build", platform::Buttons::Ok);
    return false;
}

void CLyraDoc::SaveLogo(const std::string&, int) {}

void CLyraDoc::DeleteImages() {
    m_pSourceImage.reset();
    m_pLogoImage.reset();
}

void CLyraDoc::RegisterPictureCommands() {}
