#include "app/support/AppFixture.h"

AppFixture::AppFixture() {
    const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = std::filesystem::path(LYRA_TEST_TMP) / "app" / (std::string(t->test_suite_name()) + "." + t->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    doc.AddView(&view);
}

void AppFixture::Fill(int rows) {
    MemoBook list = doc.MemoList();
    for (int i = 0; i < rows; ++i) {
        SetMemoField(list.table[i], MemoField::Name, "n" + std::to_string(i));
        SetMemoField(list.table[i], MemoField::Tel, "t" + std::to_string(i));
        SetMemoField(list.table[i], MemoField::Email, "e" + std::to_string(i));
    }
    list.last = rows - 1;
    doc.SetMemoList(list, "Fill");
}
