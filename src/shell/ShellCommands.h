#pragma once

class CChildFrame;
class CMainFrame;

// Commands of the main window beyond its own: the about box, the prompts and
// tool tips of every command, and F6 / Shift+F6 between the panes of the
// active document window.
void ConnectShellCommands(CMainFrame& frame);

// Gives the keyboard focus to the next (or previous) pane of a document
// window, in the order tree, function list, variable list, info pane,
// description pane, and round again. Disabled panes are passed over.
void MovePaneFocus(CChildFrame& frame, bool forward);
