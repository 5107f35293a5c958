#pragma once

#include <string>

class CClassRoot;

// Loads the class table of the database at path, as the program's Open does,
// and when that succeeds saves the tree into a new database and loads it
// again: the tree must come back the same. A file the program would save
// into is first saved into and read once more. Database errors are expected
// answers to damaged files and end the run quietly.
void LoadAndRoundTrip(const std::string& path);
