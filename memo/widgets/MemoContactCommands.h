#pragma once
// File > Import contacts… and File > Export contacts… of the memo page.
class CLyraDoc;
class QWidget;

#include <string>

// Asks for a vCard or CSV file and imports it as ImportContactsFrom does.
void ImportContacts(CLyraDoc& doc, QWidget* parent);

// Reads the vCard or CSV file, shows what fits in the import dialog and, when the person
// says Import, puts the contacts after the last entry or in place of the list. A file
// dropped on the window or named on the command line comes here too. True when contacts
// were imported.
bool ImportContactsFrom(CLyraDoc& doc, const std::string& path, QWidget* parent);

// True for the names ImportContactsFrom takes: .vcf and .csv.
bool IsContactFileName(const std::string& path);

// Asks for a file name and writes the entries as vCard 3.0 (.vcf) or CSV (.csv); for a
// CSV it asks whether to begin it with the byte-order mark spreadsheets need.
void ExportContacts(CLyraDoc& doc);
