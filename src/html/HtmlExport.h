#pragma once

class CClassNode;
class IUserInterface;

// The export command: asks whether to go on, lets the user choose a
// directory, shows the progress popup while the root writes "index.html" and
// every page, and reports a failure. False when cancelled or failed. The
// caller stores pending edits into the model first.
bool RunHtmlExport(CClassNode* root, IUserInterface& ui);
