#pragma once

#include "Port_StringBase.h"

namespace Port {

// A path split into head (directory), base and extension; tail is base plus extension.
// "/a/b.tar.gz" has head "/a", base "b.tar", extension "gz". A name whose only dot is
// its first character (".profile") has no extension. Separators are '/'. A trailing
// separator ("dir/") leaves head "dir" and an empty tail.
class FileName {
public:
    FileName() = default;
    explicit FileName(const String& path);

    String GetHead() const { return head; }
    String GetBase() const { return base; }
    String GetExtension() const { return extension; }
    String GetTail() const;
    // Head and tail joined; with withExtension false the extension is left off.
    String GetFullName(bool withExtension = true) const;
    // Absolute against the current directory; with clean true, "." and ".." are resolved
    // lexically and doubled separators removed.
    String GetAbsolutePath(bool clean = true) const;
    bool IsAbsolute() const;
    bool IsEmpty() const;

    void SetHead(const String& directory);
    void SetBase(const String& value) { base = value; }
    // With or without a leading dot; an empty value also drops a lone trailing dot.
    void SetExtension(const String& value);
    // Splits the tail into base and extension as the constructor does.
    void SetTail(const String& tail);

private:
    String head;
    String base;
    String extension;
    // "b." has base "b" and no extension, yet its tail keeps the dot so the name round-trips.
    bool loneDot = false;
};

}  // namespace Port
