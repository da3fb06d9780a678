#pragma once
// Unsaved changes: for each kind of data the program saves, the bytes it had when it was
// last opened or saved. The data has unsaved changes exactly when what a save would keep
// now differs from those bytes, so no edit path can forget to say that it changed
// something, and editing a value back to what the file holds leaves nothing to ask about.
#include <array>
#include <string>

// The kinds of data, in the order the person is asked about them.
enum class DataKind { Memo, Songs, Logo };
constexpr std::array<DataKind, 3> kAllDataKinds{DataKind::Memo, DataKind::Songs, DataKind::Logo};

class UnsavedChanges {
public:
    // The data of this kind now matches its file: form is what a save would keep.
    void MarkSaved(DataKind kind, std::string form) { saved_[Index(kind)] = std::move(form); }
    bool Differs(DataKind kind, const std::string& form) const { return saved_[Index(kind)] != form; }

private:
    static size_t Index(DataKind kind) { return static_cast<size_t>(kind); }
    std::array<std::string, kAllDataKinds.size()> saved_;
};
