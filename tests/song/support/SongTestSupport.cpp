#include "song/support/SongTestSupport.h"

#include <gtest/gtest.h>

#include "platform/Cp949.h"

std::string K(const std::string& utf8) {
    cp949::Conversion c = cp949::FromUtf8(utf8);
    EXPECT_TRUE(c.ok) << c.error;
    return c.text;
}

void FakeSongPage::PasteIntoFocusedField(const std::string& text) {
    switch (focus) {
    case SongFocus::Title:
        typed.title += text;
        break;
    case SongFocus::Singer:
        typed.singer += text;
        break;
    case SongFocus::Number:
        typed.number += text;
        break;
    default:
        break;
    }
}

void SongPageFixture::Enter(const std::string& title, const std::string& singer, const std::string& number) {
    page.typed = {title, singer, number};
    page.Input();
}

void SongPageFixture::Fill(int n) {
    for (int i = 1; i <= n; ++i) Enter("Song " + std::to_string(i), "Singer " + std::to_string(i), std::to_string(i));
}

std::vector<std::string> SongPageFixture::ListTitles() const {
    std::vector<std::string> out;
    for (const SongRow& r : page.Rows()) out.push_back(r.title);
    return out;
}

std::vector<std::string> SongPageFixture::TableTitles(int brand) const {
    const SongTable& t = doc.Songs()[brand];
    return std::vector<std::string>(t.title.begin(), t.title.begin() + doc.SongCount()[brand]);
}
