#pragma once

#include "persistence/DaoException.h"
#include "platform/UserInterface.h"

#include <exception>
#include <new>

// Runs a command. An error that the command does not handle ends it and is
// shown with its own text; it must never unwind through the event loop.
template <typename Command> void RunCommand(IUserInterface& ui, Command&& command) {
    try {
        command();
    } catch (const CDaoException& error) {
        ui.ShowMessage(error.GetErrorMessage());
    } catch (const std::exception& error) {
        ui.ShowMessage(error.what());
    }
}
