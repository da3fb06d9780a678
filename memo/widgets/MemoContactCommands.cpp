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

}  // namespace

void ImportContacts(CLyraDoc& doc, QWidget* parent) {
    platform::FileDialogRequest r;
    r.title = "Import contacts";
    r.filters = {{"Contacts (*.vcf;*.csv)", "*.vcf;*.csv"}, {"vCard (*.vcf)", "*.vcf"}, {"CSV (*.csv)", "*.csv"}};
    r.fileMustExist = true;
    std::optional<std::string> path = platform::services().dialogs->Run(r);
    if (path) ImportContactsFrom(doc, *path, parent);
}

bool IsContactFileName(const std::string& path) {
    const std::string ext = FileExtension(path);
    return ext == "vcf" || ext == "csv";
}

bool ImportContactsFrom(CLyraDoc& doc, const std::string& path, QWidget* parent) {
    const std::string name = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
    ContactFormat format = FileExtension(path) == "vcf"   ? ContactFormat::VCard
                           : FileExtension(path) == "csv" ? ContactFormat::Csv
                                                          : ContactFormat::Detect;
    // One byte past the limit, for ReadContacts to refuse a larger file by its kind's limit.
    std::string bytes, error;
    if (!platform::ReadFileBytes(path, bytes, ContactFileLimit(format) + 1, &error)) {
        Tell("Cannot read " + name + ". " + error);
        return false;
    }
    Contacts contacts;
    std::vector<std::string> notes;
    if (!ReadContacts(bytes, format, contacts, error, {}, &notes)) {
        Tell(name + ": " + error);
        return false;
    }

    const int entries = CountMemoEntries(doc.Memo());
    CContactImportDialog dialog(contacts, notes, QString::fromStdString(name), entries, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    const bool replace = dialog.Replace();
    if (replace && !doc.AskToSaveChanges({DataKind::Memo})) return false;

    doc.ImportMemo(dialog.Result().rows, replace);
    doc.UpdateAllViews(nullptr, hint::MemoRead);
    platform::services().status->Show(std::to_string(dialog.Result().rows.size()) + " contacts imported from " +
                                      name + ".");
    return true;
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
    if (!ContactsFromMemo(doc.Memo(), doc.MemoList().SavedEntries(), contacts, error)) return Tell(error);
    ContactFormat format = FileExtension(*path) == "csv" ? ContactFormat::Csv : ContactFormat::VCard;
    bool bom = false;
    if (format == ContactFormat::Csv) {
        platform::Answer a = platform::services().prompts->Show(
            "Begin the CSV with a UTF-8 byte-order mark?\n\nExcel needs it to show Korean text; without it, it "
            "reads the file in the system's code page. Other programs read the file either way.",
            platform::Buttons::YesNoCancel);
        if (a == platform::Answer::Cancel) return;
        bom = a == platform::Answer::Yes;
    }
    if (!platform::WriteFileAtomically(*path, WriteContacts(contacts, format, bom), &error)) return Tell(error);
    platform::services().status->Show(std::to_string(contacts.size()) + " contacts exported.");
}
