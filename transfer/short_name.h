#pragma once

#include <QString>

// The name a host file is put into a partition under: an 8.3 name that a
// +3DOS file can carry, formed from the file-name part of hostPath by one
// fixed rule (the host keeps no short alias of its own):
//
//  - Leading dots are dropped (a hidden file's ".profile" is "PROFILE").
//  - The extension is what follows the last remaining dot, the base what
//    precedes it; without a dot there is no extension. Dots inside the base
//    are characters like any other (so they become "_").
//  - Letters a-z become upper case. Every other character that is not one of
//    A-Z, 0-9 and ! # $ % & ' - @ ^ _ { } ~ becomes "_", one "_" for each
//    character (Unicode code point): blanks, other marks, accented and other
//    non-ASCII letters alike.
//  - A base of more than 8 characters keeps its first 6 and ends in "~1"; an
//    empty base (a name of dots only, or no name) becomes "_".
//  - The extension keeps its first 3 characters; an empty one leaves no dot.
//
// "My Program.bas" gives "MY_PRO~1.BAS", "tape.tzx" gives "TAPE.TZX",
// "archive.tar.gz" gives "ARCHIV~1.GZ". Different host names can give the
// same short name.
QString ShortName(const QString& hostPath);
