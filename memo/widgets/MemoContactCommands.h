#pragma once
// File > Import contacts… and File > Export contacts… of the memo page.
class CLyraDoc;
class QWidget;

// Asks for a vCard or CSV file, shows what fits in the import dialog and, when the
// person says Import, puts the contacts after the last entry or in place of the list.
void ImportContacts(CLyraDoc& doc, QWidget* parent);

// Asks for a file name and writes the entries as vCard 3.0 (.vcf) or CSV (.csv).
void ExportContacts(CLyraDoc& doc);
