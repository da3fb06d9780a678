#include "app/Resources.h"

#include <map>

#include "app/CommandIds.h"

namespace res {
namespace {

MenuItem Item(std::string caption, int id) { return MenuItem{std::move(caption), id, {}}; }
MenuItem Separator() { return MenuItem{}; }
MenuItem Popup(std::string caption, std::vector<MenuItem> items) {
    return MenuItem{std::move(caption), 0, std::move(items)};
}

const std::vector<MenuItem> kMemoMenu = {
    Popup("&File", {Item("&New\tCtrl+N", cmd::FileNew), Item("&Open...\tCtrl+O", cmd::FileOpen),
                    Item("&Save\tCtrl+S", cmd::FileSave), Item("Save &As...\tCtrl+Shift+S", cmd::FileSaveAs),
                    Separator(),
                    Item("&Import contacts...", cmd::ImportContacts), Item("Ex&port contacts...", cmd::ExportContacts),
                    Separator(), Item("E&xit", cmd::AppExit)}),
    Popup("&Edit", {Item("&Undo\tCtrl+Z", cmd::EditUndo), Item("R&edo\tCtrl+Y", cmd::EditRedo), Separator(),
                    Item("&Delete\tCtrl+D", cmd::EditDelete), Item("&Find\tCtrl+F", cmd::EditFind), Separator(),
                    Item("&Print...\tCtrl+P", cmd::FilePrint), Item("Print Pre&view", cmd::FilePrintPreview),
                    Item("P&rint Setup...", cmd::FilePrintSetup)}),
    Popup("&About", {Item("&About LyraboxQ", cmd::AppAbout)}),
};

const std::vector<MenuItem> kLogoMenu = {
    Popup("&File", {Item("&Open...\tCtrl+O", cmd::FileOpen), Item("&Save\tCtrl+S", cmd::FileSave),
                    Item("Save &As...\tCtrl+Shift+S", cmd::FileSaveAs), Separator(),
                    Item("&Capture screen...", cmd::Capture), Separator(), Item("E&xit", cmd::AppExit)}),
    Popup("&Edit", {Item("&Undo\tCtrl+Z", cmd::EditUndo), Item("R&edo\tCtrl+Y", cmd::EditRedo), Separator(),
                    Item("Rotate &Left\tCtrl+L", cmd::RotateLeft), Item("Rotate &Right\tCtrl+R", cmd::RotateRight),
                    Separator(), Item("Flip &Horizontal\tCtrl+H", cmd::FlipHorizontal),
                    Item("Flip &Vertical\tCtrl+E", cmd::FlipVertical), Separator(),
                    Item("&Dither", cmd::DitherToggle), Item("&Background colour...", cmd::LogoBackground),
                    Item("S&quare selection", cmd::SquareSelection), Separator(),
                    Item("&Copy as command line", cmd::CopyCommandLine)}),
    Popup("&View", {Item("Zoom &In\tCtrl++", cmd::ZoomIn), Item("Zoom &Out\tCtrl+-", cmd::ZoomOut),
                    Item("&Actual Size\tCtrl+0", cmd::ZoomActual), Item("&Fit to Window", cmd::ZoomFit), Separator(),
                    Item("&Preview at 2x", cmd::PreviewDouble)}),
    Popup("&About", {Item("&About LyraboxQ", cmd::AppAbout)}),
};

const std::vector<MenuItem> kSongMenu = {
    Popup("파일(&F)", {Item("새로만들기(&N)\tCtrl+N", cmd::FileNew), Item("파일열기(&N)\tCtrl+O", cmd::FileOpen),
                      Item("파일저장(&N)\tCtrl+S", cmd::FileSave),
                      Item("다른이름으로 저장(&A)\tCtrl+Shift+S", cmd::FileSaveAs), Separator(),
                      Item("Exit(&X)", cmd::AppExit)}),
    Popup("편집(&E)", {Item("실행 취소(&U)\tCtrl+Z", cmd::EditUndo), Item("다시 실행(&R)\tCtrl+Y", cmd::EditRedo)}),
    Popup("노래방기기(&N)", {Item("Zandri(&T)\tCtrl+T", cmd::BrandZandri), Item("Pellix(&G)\tCtrl+G", cmd::BrandPellix),
                          Item("Quorvel(&S)\tCtrl+J", cmd::BrandQuorvel),
                          Item("복사 하겠습니다.", cmd::CopyAnnounce)}),
    Popup("정보(&A)", {Item("&Lyrabox Plus", cmd::AppAbout)}),
};

const std::vector<MenuItem> kSongCopyMenu = {
    Popup("복사", {Item("Zandri으로 복사", cmd::CopyToZandri), Item("Pellix으로 복사", cmd::CopyToPellix),
                  Item("Quorvel로 복사", cmd::CopyToQuorvel)}),
};

const std::vector<MenuItem> kNoMenu;

const std::vector<int> kMemoToolbar = {cmd::FileNew, cmd::FileOpen, cmd::FileSave, 0, cmd::EditFind, cmd::EditDelete};
const std::vector<int> kLogoToolbar = {cmd::FileOpen,    cmd::FileSave,       0,
                                       cmd::RotateLeft,  cmd::RotateRight,    cmd::FlipHorizontal,
                                       cmd::FlipVertical, cmd::Capture,        cmd::DitherToggle,
                                       cmd::LogoBackground};
const std::vector<int> kSongToolbar = {cmd::FileNew,  cmd::FileOpen,   cmd::FileSave,  cmd::EditFind,
                                       cmd::EditDelete, cmd::ShowZandri, cmd::ShowPellix, cmd::ShowQuorvel};
const std::vector<int> kNoToolbar;

}  // namespace

const std::vector<MenuItem>& Menu(int resource) {
    switch (resource) {
    case MenuMemo:
        return kMemoMenu;
    case MenuLogo:
        return kLogoMenu;
    case MenuSong:
        return kSongMenu;
    case MenuSongCopy:
        return kSongCopyMenu;
    default:
        return kNoMenu;
    }
}

const std::vector<int>& Toolbar(int resource) {
    switch (resource) {
    case ToolbarMemo:
        return kMemoToolbar;
    case ToolbarLogo:
        return kLogoToolbar;
    case ToolbarSong:
        return kSongToolbar;
    default:
        return kNoToolbar;
    }
}

const std::vector<Accelerator>& Accelerators() {
    static const std::vector<Accelerator> table = {
        {"Ctrl+N", cmd::FileNew},        {"Ctrl+O", cmd::FileOpen},       {"Ctrl+S", cmd::FileSave},
        {"Ctrl+Shift+S", cmd::FileSaveAs}, {"Del", cmd::EditDelete},  {"Ctrl+D", cmd::EditDelete},
        {"Ctrl+F", cmd::EditFind},        {"Ctrl+V", cmd::EditPaste},      {"Shift+Ins", cmd::EditPaste},
        {"Ctrl+P", cmd::FilePrint},      {"Ctrl+L", cmd::RotateLeft},     {"Ctrl+R", cmd::RotateRight},
        {"Ctrl+H", cmd::FlipHorizontal}, {"Ctrl+E", cmd::FlipVertical},   {"Ctrl+T", cmd::BrandZandri},
        {"Ctrl+G", cmd::BrandPellix},    {"Ctrl+J", cmd::BrandQuorvel},   {"Ctrl+C", cmd::EditCopy},
        {"Ctrl+Ins", cmd::EditCopy},     {"Ctrl+X", cmd::EditCut},        {"Shift+Del", cmd::EditCut},
        {"Ctrl+Z", cmd::EditUndo},       {"Alt+Backspace", cmd::EditUndo}, {"Ctrl+Y", cmd::EditRedo},
        {"Ctrl+Shift+Z", cmd::EditRedo}, {"F6", cmd::NextPane},
        {"Shift+F6", cmd::PrevPane},     {"Ctrl++", cmd::ZoomIn},         {"Ctrl+=", cmd::ZoomIn},
        {"Ctrl+-", cmd::ZoomOut},        {"Ctrl+0", cmd::ZoomActual},
        // Desktop keys: quit, page switching, the user guide.
        {"Ctrl+Q", cmd::AppExit},        {"Ctrl+Tab", cmd::NextPage},     {"Ctrl+PgDown", cmd::NextPage},
        {"Ctrl+Shift+Tab", cmd::PrevPage}, {"Ctrl+Shift+Backtab", cmd::PrevPage}, {"Ctrl+PgUp", cmd::PrevPage},
        {"F1", cmd::HelpGuide},
    };
    return table;
}

CommandTip TipFor(int id) {
    static const std::map<int, CommandTip> tips = {
        {cmd::RotateLeft, {"Rotate left", "Rotate left"}},
        {cmd::RotateRight, {"Rotate right", "Rotate right"}},
        {cmd::FlipHorizontal, {"Flip horizontal", "Flip horizontal"}},
        {cmd::FlipVertical, {"Flip vertical", "Flip vertical"}},
        {cmd::Cropping, {"Cropping", "Cropping"}},
        {cmd::Capture, {"Take a window or the whole screen as the picture", "Capture screen"}},
        {cmd::DitherToggle, {"Dither the logo to black and white", "Dither"}},
        {cmd::LogoBackground, {"Choose the colour under the picture's transparent parts", "Background colour"}},
        {cmd::ZoomIn, {"Show the picture larger", "Zoom in"}},
        {cmd::ZoomOut, {"Show the picture smaller", "Zoom out"}},
        {cmd::ZoomActual, {"Show the picture at its own size", "Actual size"}},
        {cmd::ZoomFit, {"Fit the whole picture into the window", "Fit to window"}},
        {cmd::SquareSelection, {"Keep the selection square while sizing it", "Square selection"}},
        {cmd::PreviewDouble, {"Show the device preview at twice its size", "Preview at 2x"}},
        {cmd::CopyCommandLine, {"Copy a lyrabox-cli command that makes this logo", "Copy as command line"}},
        {cmd::ImportContacts, {"Add contacts from a vCard or CSV file", "Import contacts"}},
        {cmd::ExportContacts, {"Save the contacts as a vCard or CSV file", "Export contacts"}},
        // The framework's standard texts for its own commands.
        {cmd::FileNew, {"Create a new document", "New"}},
        {cmd::FileOpen, {"Open an existing document", "Open"}},
        {cmd::FileSave, {"Save the active document", "Save"}},
        {cmd::FileSaveAs, {"Save the active document with a new name", "Save As"}},
        {cmd::EditDelete, {"Erase the selection", "Erase"}},
        {cmd::EditFind, {"Find the specified text", "Find"}},
        {cmd::EditUndo, {"Undo the last action", "Undo"}},
        {cmd::EditRedo, {"Redo the previously undone action", "Redo"}},
        {cmd::EditPaste, {"Insert Clipboard contents", "Paste"}},
        {cmd::FilePrint, {"Print the active document", "Print"}},
        {cmd::FilePrintPreview, {"Display full pages", "Print Preview"}},
        {cmd::FilePrintSetup, {"Change the printer and printing options", "Print Setup"}},
        {cmd::AppAbout, {"Display program information, version number and copyright", "About"}},
        {cmd::AppExit, {"Quit the application; prompts to save documents", "Exit"}},
        {cmd::NextPage, {"Show the next page", "Next page"}},
        {cmd::PrevPage, {"Show the previous page", "Previous page"}},
        {cmd::HelpGuide, {"Show the user guide", "User guide"}},
    };
    auto it = tips.find(id);
    return it == tips.end() ? CommandTip{} : it->second;
}

}  // namespace res
