#pragma once
// The document/view pair the application is built on: a document keeps its views and
// tells them to redraw with a hint; views are command targets that see the document.
#include <string>
#include <vector>

#include "platform/Commands.h"

namespace platform {

class Document;

class View : public CommandTarget {
public:
    ~View() override;
    Document* GetDocument() const { return document_; }
    // Called after New and after a file was opened through the document-opening path.
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0); }
    // Called by Document::UpdateAllViews for every view but the sender.
    virtual void OnUpdate(View* sender, long hint) {
        (void)sender;
        (void)hint;
    }

private:
    friend class Document;
    Document* document_ = nullptr;
};

class Document : public CommandTarget {
public:
    ~Document() override;

    void AddView(View* view);
    void RemoveView(View* view);
    const std::vector<View*>& Views() const { return views_; }
    void UpdateAllViews(View* sender, long hint = 0);

    const std::string& GetPathName() const { return path_; }
    void SetPathName(const std::string& path) { path_ = path; }

    // Framework steps a document may override. Whether the data has changes to save is
    // the document's own affair: it knows what a save would write.
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::string& path);
    virtual bool OnSaveDocument(const std::string& path);
    virtual bool SaveModified() { return true; }
    virtual void DeleteContents() {}

private:
    std::vector<View*> views_;
    std::string path_;
};

}  // namespace platform
