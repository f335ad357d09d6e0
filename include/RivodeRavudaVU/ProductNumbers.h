// The numbers of the product family's members. A host gives its number at initialisation; the
// library keeps it, stores it where a record belongs to one product, and takes it wherever a
// function asks for `int product`. The enumeration names the numbers; the values are the
// stored ones and never change.
#pragma once

#pragma GCC visibility push(default)

enum YProductNumber : int {
    kProductQtm = 1,        // the older terminal product, executable "QTM"
    kProductQuillterm = 3,  // the terminal product
    kProductQuillfile = 6,  // the file-transfer product
    kProductSsh2Only = 7,   // a further family member that speaks SSH2 only
    kProductWyrmlink = 8,   // a terminal family member with its own policy key
    kProductFerrule = 9,    // a file-transfer family member with its own value names
};

#pragma GCC visibility pop
