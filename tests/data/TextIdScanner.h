#pragma once
// Finds the language text ids that the player's source files use, for the
// check that every language of the shipped pack has a text for each.
//
// In code (.cpp, .h), outside comments, narrow string literals count when
//  - they have the shape of an id with one of the prefixes of the player's
//    ids (str_, msg_, menu_, dlg_, static_, tab_, button_, check_, group_,
//    cat_), unless they stand inside a call of a skin getter (GetImage,
//    GetFont, GetColor), whose names share those prefixes; or
//  - they stand inside a call of a text lookup (GetText, GetDesc,
//    SetItemText, SetText, ShowMsgBox) and have the shape of an id with any
//    prefix.
// Wide literals are texts, not ids. In resources (.rc) every literal with
// the shape of an id counts (dialog and menu texts are ids), except the
// class names of the common controls (msctls_...).
// An id's shape: lower-case letters and digits in words joined by "_",
// at least two words.

#include <string>
#include <vector>

enum class SourceKind { Code, Resource };

std::vector<std::string> FindTextIds(const std::string& text, SourceKind kind);

// Whether name has the shape of an id.
bool HasIdShape(const std::string& name);
