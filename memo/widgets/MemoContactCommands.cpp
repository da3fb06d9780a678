#include "memo/widgets/MemoContactCommands.h"

#include <QFileInfo>
#include <algorithm>

#include "app/CommandIds.h"
#include "app/FileContentKind.h"
#include "app/FileTypes.h"
#include "app/LyraDoc.h"
#include "memo/ContactFiles.h"
#include "memo/ContactFit.h"
#include "memo/widgets/ContactImportDialog.h"
#include "platform/AtomicFile.h"
#include "platform/Services.h"

namespace {

void Tell(const std::string& text) { platform::services().prompts->Show(text, platform::Buttons::Ok); }

// The rows the memo writer would write: from row 0 up to the last-row index, ending at
// the first empty row.
int SavedEntries(const CLyraDoc& doc) { return std::min(CountMemoEntries(doc.m_memo), doc.m_nMemoLast + 1); }

}  // namespace

void ImportContacts(CLyraDoc& doc, QWidget* parent) {
    platform::FileDialogRequest r;
    r.title = "Import contacts";
    r.filters = {{"Contacts (*.vcf;*.csv)", "*.vcf;*.csv"}, {"vCard (*.vcf)", "*.vcf"}, {"CSV (*.csv)", "*.csv"}};
    r.fileMustExist = true;
    std::optional<std::string> path = platform::services().dialogs->Run(r);
    if (!path) return;
    const std::string name = QFileInfo(QString::fromStdString(*path)).fileName().toStdString();
    ContactFormat format = FileExtension(*path) == "vcf"   ? ContactFormat::VCard
                           : FileExtension(*path) == "csv" ? ContactFormat::Csv
                                                           : ContactFormat::Detect;
    // One byte past the limit, for ReadContacts to refuse a larger file by its kind's limit.
    std::string bytes, error;
    if (!platform::ReadFileBytes(*path, bytes, ContactFileLimit(format) + 1, &error))
        return Tell("Cannot read " + name + ". " + error);
    Contacts contacts;
    if (!ReadContacts(bytes, format, contacts, error)) return Tell(name + ": " + error);

    const int entries = CountMemoEntries(doc.m_memo);
    CContactImportDialog dialog(contacts, QString::fromStdString(name), entries, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    const bool replace = dialog.Replace();
    if (replace && !doc.AskToSaveChanges({DataKind::Memo})) return;

    int last = 0;
    if (replace) {
        ClearMemoTable(doc.m_memo);
        last = StoreFitted(doc.m_memo, 0, dialog.Result().rows);
    } else {
        last = std::max(doc.m_nMemoLast, StoreFitted(doc.m_memo, entries, dialog.Result().rows));
    }
    doc.m_nMemoLast = last;
    doc.m_bMemoFindEnabled = 1;
    doc.SetModifiedFlag();
    doc.UpdateAllViews(nullptr, hint::MemoRead);
    platform::services().status->Show(std::to_string(dialog.Result().rows.size()) + " contacts imported from " +
                                      name + ".");
}

void ExportContacts(CLyraDoc& doc) {
    platform::FileDialogRequest r;
    r.open = false;
    r.title = "Export contacts";
    r.filters = {{"vCard (*.vcf)", "*.vcf"}, {"CSV (*.csv)", "*.csv"}};
    r.defaultExtension = "vcf";
    r.initialName = "contacts.vcf";
    r.overwritePrompt = true;
    std::optional<std::string> path = platform::services().dialogs->Run(r);
    const ContentKind writes = FileExtension(path.value_or("")) == "csv" ? ContentKind::Csv : ContentKind::VCard;
    if (!path || !MayReplaceWith(*path, writes)) return;
    Contacts contacts;
    std::string error;
    if (!ContactsFromMemo(doc.m_memo, SavedEntries(doc), contacts, error)) return Tell(error);
    ContactFormat format = FileExtension(*path) == "csv" ? ContactFormat::Csv : ContactFormat::VCard;
    if (!platform::WriteFileAtomically(*path, WriteContacts(contacts, format), &error)) return Tell(error);
    platform::services().status->Show(std::to_string(contacts.size()) + " contacts exported.");
}
