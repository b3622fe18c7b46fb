#pragma once

#include <QString>
#include <QtGlobal>

class BaseDados;

// Rows of each table moved by a copy.
struct ContagemDados {
  qint64 tabelas = 0, sócios = 0, quotizações = 0;
};

// Every row of the three tables of `origem` into `destino`, whose tables must be empty, in one
// transaction of the destination (a savepoint when the caller has one open). The source is
// read as one state. Values go exactly as stored: NULLs stay NULL, money stays integer
// ten-thousandths, codes keep their numbers, and the counter of codes of the destination goes
// past every copied code and past the source's own counter, so that a new reference row never
// takes a code already used. Rows are counted in the source and in the destination before the
// end: any difference takes the whole copy back. Destination tables holding any row are
// refused (CausaErro::ComDados) and left as they were. Into a server, a value that the server
// would store otherwise than the file holds it (a text with a NUL character, a fraction or a
// text in a number field) is refused (CausaErro::ValorInválido) and nothing is written.
ContagemDados CopiarDados(BaseDados &origem, BaseDados &destino);

// A Quotas.Dad into a database on a server (a libpq connection string). A database without
// any table gets the three tables first, and loses them again when the copy fails; one that
// has other tables is refused.
ContagemDados CopiarFicheiroParaServidor(const QString &ficheiro, const QString &ligação);

// A server's database into a new Quotas.Dad, which must not exist. The file is built under a
// passing name ("Quotas.parcial-..." in the same folder), checked, and takes its name only
// when complete: it appears whole or not at all.
ContagemDados CopiarServidorParaFicheiro(const QString &ligação, const QString &ficheiro);
