#pragma once
// A headless application with scripted services, a view that records the hints it
// gets, and a scratch folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "platform/Services.h"

struct RecordingView : platform::View {
    std::vector<long> hints;
    int initialUpdates = 0;
    void OnInitialUpdate() override { ++initialUpdates; }
    void OnUpdate(platform::View*, long hint) override { hints.push_back(hint); }
};

class AppFixture : public ::testing::Test {
protected:
    AppFixture();
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    void Fill(int rows);  // rows 0..rows-1 with "n<i>", "t<i>", "e<i>"

    platform::ScriptedServices ui;
    CLyraApp app;
    CLyraDoc& doc = app.Document();
    RecordingView view;
    std::filesystem::path dir;
};
