#include "PelmoraApp/CommandLine.h"

namespace pelmoraapp {

void parseCmd(const QString &cmd, CommandTokens &tokens)
{
    const QChar blank = QLatin1Char(' ');
    qsizetype start = 0;
    for (int k = 0; k <= 2; ++k) {
        const qsizetype found = cmd.indexOf(blank, start);
        if (found < 0) {
            tokens[k] = cmd.mid(start);
            return;
        }
        tokens[k] = cmd.mid(start, found - start);
        start = found + 1;
        while (start < cmd.size() && cmd[start] == blank)
            ++start;
    }
}

void rotateSwitch(CommandTokens &tokens)
{
    if (tokens[0].toUpper() != QLatin1String("/L"))
        return;
    const QString file = tokens[2];
    tokens[2] = tokens[1];
    tokens[1] = QStringLiteral("/L");
    tokens[0] = file;
}

CommandTokens startTokens(const QStringList &arguments)
{
    CommandTokens tokens;
    if (arguments.isEmpty())
        return tokens;
    for (int k = 0; k <= 2 && k < arguments.size(); ++k)
        tokens[k] = arguments[k];
    rotateSwitch(tokens);
    return tokens;
}

int languageFromTokens(const CommandTokens &tokens, int current)
{
    if (tokens[1].toUpper() != QLatin1String("/L"))
        return current;
    if (tokens[2] == QLatin1String("English"))
        return 0;
    if (tokens[2] == QLatin1String("Spanish"))
        return 1;
    return current;
}

QString fileExtension(const QString &path)
{
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < nameStart)
        return QString();
    return path.mid(dot);
}

OpenRoute openRouteFor(const QString &token0)
{
    if (token0.isEmpty())
        return OpenRoute::Ask;
    const QString extension = fileExtension(token0);
    if (extension == QLatin1String(".cub"))
        return OpenRoute::CubeFile;
    if (extension == QLatin1String(".vcg"))
        return OpenRoute::ViewFile;
    return OpenRoute::Ask;
}

} // namespace pelmoraapp
