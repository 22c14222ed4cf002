#pragma once

#include <QString>
#include <optional>

// What the version check needs from an embedded browser view. The view tells
// its owner when a document has finished loading (its own failure pages
// included); the owner then reads the title.
class BrowserView
{
public:
    // Starts loading the address and returns before it has loaded.
    virtual void Navigate(const QString &address) = 0;

    // The title of the current document, or nothing when the view has no
    // document yet to read it from.
    virtual std::optional<QString> DocumentTitle() const = 0;

protected:
    ~BrowserView() = default;
};
