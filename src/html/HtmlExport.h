#pragma once

#include <functional>
#include <string>
#include <vector>

class CClassNode;
class IUserInterface;

// The export command: asks whether to go on, lets the user choose a
// directory, shows the progress popup while the root writes "index.html" and
// every page, and reports a failure. False when cancelled or failed.
// beforeWriting runs once the user has said Yes and chosen the directory (the
// caller stores pending edits there, so that a declined export changes
// nothing). notCreated, when given, receives the pages whose files could not
// be created (left out, as the export goes on without them).
bool RunHtmlExport(CClassNode* root, IUserInterface& ui,
                   const std::function<void()>& beforeWriting = {},
                   std::vector<std::string>* notCreated = nullptr);
