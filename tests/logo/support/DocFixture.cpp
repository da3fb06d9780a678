#include "logo/support/DocFixture.h"

#include "logo/support/LogoFiles.h"

DocFixture::DocFixture() : dir(ScratchDir()) {
    doc.AddView(&view);
    app.m_nPage = 1;
}

