#pragma once

#include <QString>
#include <QStringList>

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

// The names a batch of host files is put under, one for each path in order.
// A host name that already is an 8.3 name (its file name equals its
// ShortName but for case) keeps it: the user chose that name, and when it is
// taken the caller asks what to do. Every other host name gets a generated
// name that is unique in the batch and against `partitionNames` (compared
// without regard to case), numbered as the desktop does: the first free of
// ShortName (today's name), then the base cut so that "~n" fits in 8
// characters with n = 1, 2, ... ("My Program 1.bas" and "My Program 2.bas"
// give "MY_PRO~1.BAS" and "MY_PRO~2.BAS", "a b.txt" gives "A_B.TXT" and then
// "A_B~1.TXT"). Generated names also avoid the batch's chosen 8.3 names.
QStringList UniqueShortNames(const QStringList& hostPaths, const QStringList& partitionNames);

// The next free name for a +3DOS name that is taken, by the rule of the disk
// tool's tape import: `name` itself when it is not among `taken`, otherwise
// the first of NAME1, NAME2, ... that is not, with the name part (before the
// first ".") cut so that name and number fit in 8 characters and the type
// kept ("GAME.BAS" gives "GAME1.BAS", "LONGNAME.BIN" gives "LONGNAM1.BIN" and
// later "LONGNA10.BIN"). Names compare without regard to case.
QString NextFreeName(const QString& name, const QStringList& taken);
