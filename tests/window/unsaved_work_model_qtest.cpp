// Random sequences of what a person does on the real window (typing with Enter, Input,
// Delete, New, Open, drops of good and bad files, tab switches, rotate, undo, redo, close
// with each answer), checked after every step against a model of what the person has
// done: data goes only after an explicit No, the views show what the document holds,
// what a save would write is what is shown, and undoing every edit gives back what was
// opened while redoing them gives back what was edited. The seed is fixed; a failure prints it with the
// actions that led there.
#include <QTest>
#include <cstring>
#include <fstream>
#include <random>

#include "app/CommandIds.h"
#include "app/FileTypes.h"
#include "logo/PictureLoad.h"
#include "logo/widgets/CLogoView.h"
#include "memo/MemoFile.h"
#include "memo/widgets/MemoList.h"
#include "memo/widgets/MemoView.h"
#include "ui/widgets/FlatMenus.h"
#include "ui/widgets/MemoEdit.h"
#include "window/support/EditorDriver.h"

using platform::Answer;

namespace {

constexpr unsigned kSeed = 20261207;
constexpr int kSteps = 300;

const std::string kMemoQuestion = "Do you want to save Memo File ?";
const std::string kLogoQuestion = "Do you want to save Logo File ?";

using Contact = std::pair<std::string, std::string>;  // name, tel
using Contacts = std::vector<Contact>;

std::string MemoBytes(const Contacts& contacts) {
    MemoTable table{};
    for (size_t i = 0; i < contacts.size(); ++i) {
        SetMemoField(table[i], MemoField::Name, contacts[i].first);
        SetMemoField(table[i], MemoField::Tel, contacts[i].second);
    }
    return EncodeMemoFile(table, int(contacts.size()) - 1);
}

// How the person answers a question, and what the model expects of it.
enum class Reply { Cancel, No, YesSaved, YesDialogCancelled };

class ModelRun {
public:
    explicit ModelRun(unsigned seed) : rng_(seed) { Files(); }

    // Runs the steps; the failure text, or "" when every check held.
    std::string Run(int steps) {
        Start();
        for (int step = 0; step < steps; ++step) {
            Act();
            std::string why = Check();
            if (!why.empty()) return why;
        }
        return {};
    }
    const std::vector<std::string>& Log() const { return log_; }

private:
    // ---- the files the person opens and drops ----
    void Files() {
        memoFiles_ = {{{"Ann", "01"}, {"Bob", "02"}}, {{"Cy", "03"}, {"Dee", "04"}, {"Eve", "05"}, {"Fay", "06"}}};
        for (size_t i = 0; i < memoFiles_.size(); ++i) {
            const std::string path = EditorDriver::Scratch("model" + std::to_string(i) + ".mmo");
            std::ofstream(path, std::ios::binary) << MemoBytes(memoFiles_[i]);
            memoPaths_.push_back(path);
        }
        for (int i = 0; i < 2; ++i) {
            picturePaths_.push_back(EditorDriver::Scratch("model" + std::to_string(i) + ".bmp"));
            EditorDriver::WritePicture(picturePaths_.back(), "bmp", 150 + 90 * i, 120 + 30 * i);
        }
        badPaths_ = {EditorDriver::Scratch("model-bad.jpg"), EditorDriver::Scratch("model-bad8.bmp")};
        // Files no decoder takes, each refused with its name and the decoder's reason.
        std::ofstream(badPaths_[0], std::ios::binary) << std::string("\xFF\xD8\xFF\xE0 cut short", 15);
        std::ofstream(badPaths_[1], std::ios::binary) << "BM and nothing more";
        for (const std::string& bad : badPaths_) {
            LbImage none;
            std::string reason;
            logo::LoadPicture(bad, ClassifyFile(bad).type, none, reason);
            badMessages_.push_back(logo::CannotOpenText(bad, reason));
        }
    }

    void Start() {
        e_.reset();
        e_ = std::make_unique<EditorDriver>();
        rows_.clear();
        savedRows_.clear();
        logoSaved_ = QImage();
        memoSteps_ = {rows_};
        logoSteps_ = {QImage()};
        memoDone_ = logoDone_ = 0;
    }

    // An edit made: what it left becomes the next step, after the steps undone are dropped.
    // A turn or flip is a step even when the logo looks the same (always).
    template <class State>
    static void Edited(std::vector<State>& steps, size_t& done, const State& now, bool always = false) {
        if (!always && steps[done] == now) return;
        steps.resize(done + 1);
        steps.push_back(now);
        if (steps.size() > EditHistory::kMostSteps + 1) steps.erase(steps.begin());
        done = steps.size() - 1;
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    std::string Word(const char* letters, int maxLength) {
        std::string w;
        for (int i = Pick(maxLength) + 1; i > 0; --i) w += letters[Pick(int(std::strlen(letters)))];
        return w;
    }
    void Note(const std::string& what) { log_.push_back(std::to_string(log_.size()) + ": " + what); }

    QImage Logo() {
        CLyraDoc& d = e_->doc();
        return d.LogoImage() ? e_->Preview() : QImage();
    }
    bool MemoUnsaved() const { return rows_ != savedRows_; }
    bool LogoUnsaved() { return Logo() != logoSaved_; }

    // Queues the answer to one expected question; true when the data may then go. Yes
    // writes the data's own file (opened or saved before) without a dialog: then any Yes
    // is a save.
    bool Queue(const std::string& question, Reply& reply) {
        expected_.push_back(question);
        const bool memo = question == kMemoQuestion;
        const std::string target = e_->doc().SaveTarget(memo ? DataKind::Memo : DataKind::Logo);
        if (reply == Reply::YesDialogCancelled && !target.empty()) reply = Reply::YesSaved;
        switch (reply) {
        case Reply::Cancel: e_->Answer(Answer::Cancel); return false;
        case Reply::No: e_->Answer(Answer::No); return true;
        case Reply::YesDialogCancelled:
            e_->Answer(Answer::Yes);
            e_->CancelDialog();
            return false;
        case Reply::YesSaved:
            e_->Answer(Answer::Yes);
            std::string& to = memo ? memoSavedTo_ : logoSavedTo_;
            to = !target.empty() ? target : EditorDriver::Scratch(memo ? "model-out.mmo" : "model-out.bmp");
            if (target.empty()) e_->ChooseFile(to);
            return true;
        }
        return false;
    }
    Reply AnyReply() { return Reply(Pick(4)); }
    static const char* Name(Reply r) {
        static const char* names[] = {"Cancel", "No", "Yes+save", "Yes+cancel dialog"};
        return names[int(r)];
    }

    // Checks a save made by a Yes: the file holds what was shown.
    void SavedMemo() {
        if (EditorDriver::ReadFile(memoSavedTo_) != MemoBytes(rows_)) failure_ = "the memo saved after Yes is not the list";
        savedRows_ = rows_;
        // A Yes writes the opened file itself: opening it again shows what was saved.
        for (size_t i = 0; i < memoPaths_.size(); ++i)
            if (memoPaths_[i] == memoSavedTo_) memoFiles_[i] = rows_;
    }

    // The memo list is replaced by contacts (New: none) after the question, if any.
    template <class Replace>
    void ReplaceMemo(const std::string& what, const Contacts& next, Replace replace) {
        Reply reply = AnyReply();
        bool go = true;
        if (MemoUnsaved()) go = Queue(kMemoQuestion, reply);
        Note(what + (MemoUnsaved() ? std::string(" / ") + Name(reply) : ""));
        replace();
        if (MemoUnsaved() && reply == Reply::YesSaved) SavedMemo();
        if (go) {
            rows_ = savedRows_ = next;
            memoSteps_ = {rows_};
            memoDone_ = 0;
        }
    }

    template <class Replace>
    void ReplacePicture(const std::string& what, Replace replace) {
        Reply reply = AnyReply();
        const bool unsaved = LogoUnsaved();
        bool go = true;
        if (unsaved) go = Queue(kLogoQuestion, reply);
        Note(what + (unsaved ? std::string(" / ") + Name(reply) : ""));
        const QImage before = Logo();
        const QImage shown = e_->Preview();
        replace();
        if (unsaved && reply == Reply::YesSaved) {
            // The file was written before the new picture came: compare with what was shown.
            if (!EditorDriver::SameAtFiveBits(EditorDriver::ReadDeviceLogo(logoSavedTo_), shown, QRect(1, 1, 94, 94)))
                failure_ = "the logo saved after Yes is not the preview";
        }
        if (go) {
            logoSaved_ = Logo();
            logoSteps_ = {logoSaved_};
            logoDone_ = 0;
            if (logoSaved_.isNull()) failure_ = "the picture did not open";
        } else if (Logo() != before) {
            failure_ = "the logo changed without a No";
        }
    }

    void Act() {
        expected_.clear();
        failure_.clear();
        const int page = e_->PageShown();
        const int current = e_->memo().CurrentRow();
        switch (Pick(15)) {
        case 0:
        case 1: {  // a contact typed on the memo page, committed with Enter
            if (page != 0 || rows_.size() >= 30 || current > int(rows_.size())) return Act();
            Contact c{Word("abcdefgh", 5), Word("0123456789", 6)};
            Note("type " + c.first + " " + c.second + " at row " + std::to_string(current));
            e_->TypeContact(QString::fromStdString(c.first), QString::fromStdString(c.second));
            if (current == int(rows_.size())) rows_.push_back(c);
            else rows_[current] = c;
            Edited(memoSteps_, memoDone_, rows_);
            break;
        }
        case 2: {  // a row clicked, its name changed, Input
            if (page != 0 || rows_.empty()) return Act();
            const int r = Pick(int(rows_.size()));
            std::string name = Word("ijklmnop", 4);
            Note("input " + name + " at row " + std::to_string(r));
            e_->ClickMemoRow(r);
            QTest::mouseClick(e_->memo().Edit(CMemoView::IdName), Qt::LeftButton);
            e_->ReplaceText(QString::fromStdString(name));
            e_->ClickInput();
            rows_[r].first = name;
            Edited(memoSteps_, memoDone_, rows_);
            break;
        }
        case 3: {  // a row clicked and deleted from the toolbar
            if (page != 0 || rows_.empty()) return Act();
            const int r = Pick(int(rows_.size()));
            Note("delete row " + std::to_string(r));
            e_->ClickMemoRow(r);
            // The last row of a file just opened cannot be deleted: Delete is disabled.
            if (e_->ClickToolButton(cmd::EditDelete)) rows_.erase(rows_.begin() + r);
            Edited(memoSteps_, memoDone_, rows_);
            break;
        }
        case 4:  // New
            ReplaceMemo("Ctrl+N", {}, [&] { e_->Ctrl(Qt::Key_N); });
            break;
        case 5: {  // Ctrl+O of a memo file
            const int f = Pick(int(memoPaths_.size()));
            e_->ChooseFile(memoPaths_[f]);
            ReplaceMemo("Ctrl+O memo " + std::to_string(f), memoFiles_[f], [&] { e_->Ctrl(Qt::Key_O); });
            break;
        }
        case 6: {  // a memo file dropped
            const int f = Pick(int(memoPaths_.size()));
            ReplaceMemo("drop memo " + std::to_string(f), memoFiles_[f],
                        [&] { e_->Drop({QString::fromStdString(memoPaths_[f])}); });
            break;
        }
        case 7: {  // a picture dropped, or opened with Ctrl+O
            const int f = Pick(int(picturePaths_.size()));
            if (Pick(2) == 0) {
                ReplacePicture("drop picture " + std::to_string(f),
                               [&] { e_->Drop({QString::fromStdString(picturePaths_[f])}); });
            } else {
                e_->ChooseFile(picturePaths_[f]);
                ReplacePicture("Ctrl+O picture " + std::to_string(f), [&] { e_->Ctrl(Qt::Key_O); });
            }
            break;
        }
        case 8: {  // a file that is refused: nothing changes
            const int f = Pick(int(badPaths_.size()));
            Note("drop refused " + std::to_string(f));
            const QImage before = Logo();
            e_->Drop({QString::fromStdString(badPaths_[f])});
            expected_.push_back(badMessages_[size_t(f)]);
            if (Logo() != before) failure_ = "a refused picture changed the logo";
            break;
        }
        case 9:
        case 10: {
            const int tab = Pick(2);
            Note("tab " + std::to_string(tab));
            e_->ClickTab(tab);
            break;
        }
        case 11: {
            static const int keys[] = {Qt::Key_L, Qt::Key_R, Qt::Key_H, Qt::Key_E};
            static const int commands[] = {cmd::RotateLeft, cmd::RotateRight, cmd::FlipHorizontal, cmd::FlipVertical};
            const int k = Pick(4);
            Note(std::string("Ctrl+") + "LRHE"[k]);
            const bool edits = e_->Enabled(commands[k]);
            e_->Ctrl(keys[k]);
            if (edits) Edited(logoSteps_, logoDone_, Logo(), true);
            break;
        }
        case 12:
            Close();
            break;
        case 13:
        case 14: {  // Ctrl+Z or Ctrl+Y from the list or the picture: the page's last edit
            const bool undo = Pick(2) == 0;
            Note(undo ? "Ctrl+Z" : "Ctrl+Y");
            if (page == 0) e_->memo().List()->setFocus();
            e_->Ctrl(undo ? Qt::Key_Z : Qt::Key_Y);
            std::vector<Contacts>* memo = page == 0 ? &memoSteps_ : nullptr;
            const size_t steps = memo ? memoSteps_.size() : logoSteps_.size();
            size_t& done = memo ? memoDone_ : logoDone_;
            if (undo ? done == 0 : done + 1 >= steps) break;
            done = undo ? done - 1 : done + 1;
            if (memo) rows_ = memoSteps_[done];
            else if (Logo() != logoSteps_[done]) failure_ = "undo or redo did not give the logo of that step";
            break;
        }
        }
    }

    void Close() {
        const bool memoUnsaved = MemoUnsaved(), logoUnsaved = LogoUnsaved();
        std::string what = "close";
        bool closes = true;
        Reply memoReply = AnyReply(), logoReply = AnyReply();
        if (memoUnsaved) {
            what += std::string(" / memo ") + Name(memoReply);
            closes = Queue(kMemoQuestion, memoReply);
        }
        if (closes && logoUnsaved) {
            what += std::string(" / logo ") + Name(logoReply);
            closes = Queue(kLogoQuestion, logoReply);
        }
        Note(what);
        const QImage shown = e_->Preview();
        const bool closed = e_->Close();
        if (memoUnsaved && memoReply == Reply::YesSaved) SavedMemo();
        if (logoUnsaved && closes && logoReply == Reply::YesSaved &&
            !EditorDriver::SameAtFiveBits(EditorDriver::ReadDeviceLogo(logoSavedTo_), shown, QRect(1, 1, 94, 94)))
            failure_ = "the logo saved on closing is not the preview";
        if (closed != closes) failure_ = closes ? "the window did not close" : "the window closed without a No";
        if (closed) {
            const std::vector<std::string> shownTexts = e_->TakeShown();
            if (shownTexts != expected_) failure_ = "questions on closing: " + Join(shownTexts);
            Start();
            expected_.clear();
            closedNow_ = true;
        }
    }

    static std::string Join(const std::vector<std::string>& texts) {
        std::string all;
        for (const std::string& t : texts) all += "[" + t + "]";
        return all;
    }

    std::string Check() {
        if (!failure_.empty()) return failure_;
        if (closedNow_) {
            closedNow_ = false;
            return {};
        }
        QCoreApplication::processEvents();
        const std::vector<std::string> shown = e_->TakeShown();
        if (shown != expected_) return "asked " + Join(shown) + ", expected " + Join(expected_);
        if (e_->PendingAnswers() != 0) return "an answer or a file was left unused";
        // The list shows the model's contacts, then empty rows.
        CLyraDoc& d = e_->doc();
        for (int r = 0; r < kMemoRows; ++r) {
            const QStringList cells = e_->MemoRow(r);
            const QStringList want = r < int(rows_.size())
                                         ? QStringList{QString::fromStdString(rows_[r].first),
                                                       QString::fromStdString(rows_[r].second), ""}
                                         : QStringList{"", "", ""};
            if (cells != want) return "row " + std::to_string(r) + " shows " + cells.join("|").toStdString();
            if (std::string(MemoFieldText(d.Memo()[r], MemoField::Name)) != want[0].toStdString())
                return "row " + std::to_string(r) + " of the document differs from the list";
        }
        // What a save writes is what is shown, and the next typing lands after it.
        if (d.SavedForm(DataKind::Memo) != MemoBytes(rows_)) return "a memo save would not write the list";
        if (e_->memo().CurrentRow() > int(rows_.size())) return "the current row leaves a hole";
        if (d.HasUnsavedChanges(DataKind::Memo) != MemoUnsaved()) return "unsaved contacts are not known as such";
        // The logo page agrees with the document.
        if (bool(d.SourceImage()) != e_->HasSelectionBox()) return "picture and selection box disagree";
        if (d.SourceImage() &&
            e_->LogoScrollRange() != QSize(int(d.SourceImage()->GetWidth()), int(d.SourceImage()->GetHeight())))
            return "the scroll range is not the picture's";
        if (!e_->PreviewShowsLogo()) return "the preview is not the working logo";
        if (d.HasUnsavedChanges(DataKind::Logo) != LogoUnsaved()) return "logo changes are not known as such";
        return CheckHistory();
    }

    // Undoing every step gives what was opened, asked about exactly when it is not what
    // was last saved; redoing them all gives what was edited.
    std::string CheckHistory() {
        CLyraDoc& d = e_->doc();
        size_t undone = 0;
        while (d.Undo(DataKind::Memo)) ++undone;
        if (undone != memoDone_) return "the memo history has " + std::to_string(undone) + " steps to undo";
        if (d.SavedForm(DataKind::Memo) != MemoBytes(memoSteps_[0])) return "undoing every edit is not the opened list";
        if (d.HasUnsavedChanges(DataKind::Memo) != (memoSteps_[0] != savedRows_))
            return "the opened list is not known as saved or unsaved";
        for (; undone > 0; --undone) d.Redo(DataKind::Memo);
        if (d.SavedForm(DataKind::Memo) != MemoBytes(rows_)) return "redoing every edit is not the edited list";
        while (d.Undo(DataKind::Logo)) ++undone;
        if (undone != logoDone_) return "the logo history has " + std::to_string(undone) + " steps to undo";
        if (Logo() != logoSteps_[0]) return "undoing every turn is not the logo opened";
        if (d.HasUnsavedChanges(DataKind::Logo) != (Logo() != logoSaved_)) return "the logo opened is not known as saved";
        for (; undone > 0; --undone) d.Redo(DataKind::Logo);
        if (Logo() != logoSteps_[logoDone_]) return "redoing every turn is not the logo edited";
        return {};
    }

    std::mt19937 rng_;
    std::unique_ptr<EditorDriver> e_;
    Contacts rows_, savedRows_;
    QImage logoSaved_;
    std::vector<Contacts> memoSteps_;  // the list opened, then after every edit
    std::vector<QImage> logoSteps_;    // the logo opened, then after every turn or flip
    size_t memoDone_ = 0, logoDone_ = 0;
    std::vector<Contacts> memoFiles_;
    std::vector<std::string> memoPaths_, picturePaths_, badPaths_, badMessages_;
    std::vector<std::string> expected_, log_;
    std::string memoSavedTo_, logoSavedTo_, failure_;
    bool closedNow_ = false;
};

}  // namespace

class UnsavedWorkModelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { CFlatMenus::Install(); }
    void cleanupTestCase() { CFlatMenus::Remove(); }

    void randomSequencesLoseNothing() {
        // LYRA_MODEL_SEED and LYRA_MODEL_STEPS explore other and longer sequences.
        const unsigned seed = qEnvironmentVariableIsSet("LYRA_MODEL_SEED") ? qEnvironmentVariableIntValue("LYRA_MODEL_SEED") : kSeed;
        const int steps = qEnvironmentVariableIsSet("LYRA_MODEL_STEPS") ? qEnvironmentVariableIntValue("LYRA_MODEL_STEPS") : kSteps;
        ModelRun run(seed);
        const std::string failure = run.Run(steps);
        if (!failure.empty()) {
            std::string text = "seed " + std::to_string(seed) + ": " + failure + "\n";
            for (const std::string& a : run.Log()) text += "  " + a + "\n";
            QFAIL(text.c_str());
        }
    }
};

QTEST_MAIN(UnsavedWorkModelTest)
#include "unsaved_work_model_qtest.moc"
