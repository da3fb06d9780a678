// Undo and redo: the Edit menu's two commands act on the history of the data the page
// shown edits, and name the step they would take. Each page serves them for its own
// kind of data; the document serves them by the page mode when no page is active.
#include "app/CommandIds.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"

namespace {

// The song page speaks Korean, as its other menus do.
std::string Caption(bool redo, bool songPage, const std::string& step) {
    if (songPage) return std::string(redo ? "다시 실행(&R)" : "실행 취소(&U)") + (step.empty() ? "" : ": " + step);
    return std::string(redo ? "R&edo" : "&Undo") + (step.empty() ? "" : " " + step);
}

}  // namespace

DataKind CLyraDoc::KindOnPage() const {
    switch (app_.m_nPage) {
    case page::Logo: return DataKind::Logo;
    case page::Song: return DataKind::Songs;
    default: return DataKind::Memo;
    }
}

bool CLyraDoc::Undo(DataKind kind) { return HistoryOf(kind).Undo(); }

bool CLyraDoc::Redo(DataKind kind) { return HistoryOf(kind).Redo(); }

void CLyraDoc::RunHistoryCommand(DataKind kind, bool redo) {
    if (redo)
        Redo(kind);
    else
        Undo(kind);
}

void CLyraDoc::UpdateHistoryCommand(DataKind kind, bool redo, platform::CmdUI& ui) const {
    const EditHistory& history = History(kind);
    ui.Enable(redo ? history.CanRedo() : history.CanUndo());
    ui.SetText(Caption(redo, kind == DataKind::Songs, redo ? history.RedoName() : history.UndoName()));
}

void CLyraDoc::RegisterHistoryCommands() {
    for (bool redo : {false, true}) {
        const int id = redo ? cmd::EditRedo : cmd::EditUndo;
        OnCommand(id, [this, redo] { RunHistoryCommand(KindOnPage(), redo); });
        OnUpdateCommand(id, [this, redo](platform::CmdUI& ui) { UpdateHistoryCommand(KindOnPage(), redo, ui); });
    }
}
