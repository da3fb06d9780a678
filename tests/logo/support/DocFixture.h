#pragma once
// A headless application with scripted services and a view that records its hints,
// for the document side of the logo page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "platform/Services.h"

struct HintView : platform::View {
    std::vector<long> hints;
    void OnUpdate(platform::View*, long hint) override { hints.push_back(hint); }
};

class DocFixture : public ::testing::Test {
protected:
    DocFixture();
    std::string Path(const std::string& name) const { return dir + "/" + name; }

    platform::ScriptedServices ui;
    CLyraApp app;
    CLyraDoc& doc = app.Document();
    HintView view;
    std::string dir;
};
