#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The host's command line: a file to open in the first window and the language switch "/L".
namespace pelmoraapp {

// Tokens 0 to 2 are filled; token 3 is never used. After start-up token 0 is the file to open
// (empty for none), token 1 "/L" when a language was given, token 2 the language name.
using CommandTokens = std::array<QString, 4>;

// Splits a command given as one text at blanks into at most three tokens. A run of blanks is
// one separator, a text that begins with a blank gives an empty token 0, whatever follows the
// third token is ignored, and tokens the text does not reach keep their value.
void parseCmd(const QString &cmd, CommandTokens &tokens);

// The tokens of the program's arguments (without the program's name). The system hands them
// over already split, so each argument is one token and a path with blanks stays whole; the
// first three count. A switch "/L" (any case) given first is moved behind the file: the file
// becomes token 0, the switch token 1 and the language token 2.
CommandTokens startTokens(const QStringList &arguments);

// The same rotation on tokens already split.
void rotateSwitch(CommandTokens &tokens);

// The language the tokens ask for: with the switch "/L" (any case) in token 1, "English" gives
// 0 and "Spanish" 1 (names compared exactly); anything else keeps `current`.
int languageFromTokens(const CommandTokens &tokens, int current);

// How the first window opens the command line's file.
enum class OpenRoute {
    Ask,      // no file, or one of no known kind: the control asks the user
    CubeFile, // ".cub": OpenFile
    ViewFile, // ".vcg": OpenView
};

// The extension of the file's own name, from the last "." of its last path component ("" when
// it has none), so that dots in folder names and in the name before its extension do not
// count.
QString fileExtension(const QString &path);

// The route for token 0: the extension compared exactly, so ".CUB" is no cube file.
OpenRoute openRouteFor(const QString &token0);

} // namespace pelmoraapp
