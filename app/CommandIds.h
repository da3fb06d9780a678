#pragma once
// Command numbers carried by the menus, toolbars and keys. The framework's standard
// commands keep their usual numbers; the program's own run from 31000.
namespace cmd {

constexpr int FileNew = 57600;
constexpr int FileOpen = 57601;
constexpr int FileSave = 57603;
constexpr int FileSaveAs = 57604;
constexpr int FilePrintSetup = 57606;
constexpr int FilePrint = 57607;
constexpr int FilePrintPage = 57608;  // printing of the active page, where a view offers it
constexpr int FilePrintPreview = 57609;
constexpr int EditDelete = 57632;
constexpr int EditCopy = 57634;
constexpr int EditCut = 57635;
constexpr int EditFind = 57636;
constexpr int EditPaste = 57637;
constexpr int EditUndo = 57643;
constexpr int EditRedo = 57644;
constexpr int AppAbout = 57664;
constexpr int AppExit = 57665;
constexpr int HelpGuide = 57670;  // F1: the user guide
constexpr int NextPane = 57680;
constexpr int PrevPane = 57681;

constexpr int PictureInfo = 31000;
constexpr int RotateLeft = 31100;
constexpr int RotateRight = 31101;
constexpr int FlipHorizontal = 31102;
constexpr int FlipVertical = 31103;
constexpr int Cropping = 31104;
constexpr int Capture = 31105;
constexpr int DitherToggle = 31109;

// Logo page: zoom, the square selection option, the preview size and the recipe.
constexpr int ZoomIn = 31150;
constexpr int ZoomOut = 31151;
constexpr int ZoomActual = 31152;
constexpr int ZoomFit = 31153;
constexpr int SquareSelection = 31154;
constexpr int PreviewDouble = 31155;
constexpr int CopyCommandLine = 31156;
constexpr int LogoBackground = 31157;  // the colour under a picture's transparent parts

constexpr int BrandPellix = 31116;
constexpr int BrandZandri = 31117;
constexpr int BrandQuorvel = 31118;
constexpr int ShowZandri = 31130;
constexpr int ShowPellix = 31131;
constexpr int ShowQuorvel = 31132;
constexpr int CopyAnnounce = 31134;
constexpr int CopyToZandri = 31135;
constexpr int CopyToPellix = 31136;
constexpr int CopyToQuorvel = 31137;
constexpr int NextPage = 31160;  // the tab right of the shown one, round to the first
constexpr int PrevPage = 31161;

constexpr int ImportContacts = 31140;
constexpr int ExportContacts = 31141;

}  // namespace cmd

// Update hints the document sends to its views.
namespace hint {
constexpr long MemoRead = 0;       // a memo file was read: rebuild the 250 rows
constexpr long PictureChanged = 1; // a picture command ran: derive the logo again
constexpr long PictureLoaded = 1025; // a new picture: new selection box, derive the logo
constexpr long SelectionChanged = 3;  // an undo or redo moved the selection: the box follows
constexpr long SongsRead = 2;      // a song file was read: the song page shows its lists
constexpr long SongsChanged = 16;  // + brand: an undo or redo changed that brand's list: the page shows it
}  // namespace hint

// Page index and page mode.
namespace page {
constexpr int None = -1;
constexpr int Memo = 0;
constexpr int Logo = 1;
constexpr int Song = 2;
}  // namespace page
