#pragma once

#include <QIcon>

class CClassNode;

// The icon of a tree or list entry, distinct at a glance: the root (the
// database), a class, a placeholder class (a base that was not found), a
// member function, a member variable. Null for anything else.
QIcon ItemIcon(const CClassNode* node);
