#pragma once

// What a node is; stored as the "Type" column of the class table.
enum NodeKind : int {
    KindRoot = 0,
    KindClass = 1,
    KindFunction = 2,
    KindVariable = 3,
};
