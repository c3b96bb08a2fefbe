#pragma once

// Everything shown about one opened race: its odds of every bet type on sale and the bracket of every
// runner. (Being built.)
class clsFactory {
public:
    clsFactory();
    ~clsFactory();
};
