#pragma once

#include <QString>
#include <QStringView>

class BaseDados;

// The access code is kept in the reference row of kind "0", scrambled with a fixed key by
// exclusive-or. A stored value equal to the key itself (the code 0), or no row at all, means
// that no code is set.
inline constexpr qint32 ChaveCódigoAcesso = 4821;

// The code that a stored Designação stands for.
qint32 DecifrarCódigo(QStringView designação);

// The Designação that stores a code.
QString CifrarCódigo(qint32 código);

// The numeric value of a typed code, as a 32-bit integer: "00042" is 42, "" is 0.
qint32 ValorCódigo(QStringView texto);

// Whether start-up must ask for the code: the row of kind "0" exists and its text is not the
// key. Leaves the reference recordset on that row when there is one.
bool CódigoDeAcessoDefinido(BaseDados &bd);
