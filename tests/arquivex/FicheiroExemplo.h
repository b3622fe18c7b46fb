#pragma once

#include "BaseDados.h"
#include "LerFicheiro.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>

// A Quotas.Dad with reference rows, members and their dues, written as the program writes it.
// Members `primeiro` .. `primeiro + quantos - 1` are added, each with the twelve months of 2025
// paid; the file is created first when it is missing.
inline void Povoar(const QString &ficheiro, int primeiro, int quantos) {
  using namespace Qt::StringLiterals;
  if (!QFileInfo::exists(ficheiro))
    BaseDados::Criar(ficheiro);
  BaseDados bd;
  bd.Abrir(ficheiro);
  BaseDados::Transacção t(bd);
  if (primeiro == 1)
    for (const auto &[tipo, designação] : {std::pair{u"1"_s, u"Colectividade Recreativa"_s},
                                           {u"T"_s, u"Normal"_s},
                                           {u"C"_s, u"1000-001 Lisboa"_s}})
      bd.Executar(u"INSERT INTO Tabelas (Tipo, Designação) VALUES (?, ?)"_s, {tipo, designação},
                  u"teste"_s);
  for (int n = primeiro; n < primeiro + quantos; ++n) {
    bd.Executar(u"INSERT INTO Sócios (Número, Nome, CPostal, Situação, TipoQuota, Inscrição, "
                u"ValQuotaEuro, Rua, Localidade, Observações, NIF) "
                u"VALUES (?, ?, 3, 0, 2, '19960915', 125000, 'Rua Direita ', 'Lisboa ', ' ', ?)"_s,
                {n, u"Sócia Número "_s + QString::number(n), QString::number(100000000 + n)},
                u"teste"_s);
    for (int mês = 1; mês <= 12; ++mês)
      bd.Executar(u"INSERT INTO Quotizações (SócMês, QuotaEuro, Recibo) VALUES (?, 125000, ?)"_s,
                  {u"%1%2"_s.arg(n, 6, 10, QChar(u'0')).arg(202500 + mês), n * 100 + mês},
                  u"teste"_s);
  }
  t.Confirmar();
}

// Every row of the three tables, in key order, each marked with its table.
inline QList<QVariantList> Linhas(const QString &ficheiro) {
  using namespace Qt::StringLiterals;
  QList<QVariantList> r;
  for (const QString &sql : {u"SELECT 'T', * FROM Tabelas ORDER BY Código"_s,
                             u"SELECT 'S', * FROM Sócios ORDER BY Número"_s,
                             u"SELECT 'Q', * FROM Quotizações ORDER BY SócMês"_s})
    r += Consultar(sql, ficheiro);
  return r;
}

inline void EscreverFicheiro(const QString &ficheiro, const QByteArray &conteúdo) {
  QFile f(ficheiro);
  QVERIFY(f.open(QIODevice::WriteOnly));
  QCOMPARE(f.write(conteúdo), conteúdo.size());
}

// An SQLite file that is not ours.
inline void CriarBaseAlheia(const QString &ficheiro) {
  using namespace Qt::StringLiterals;
  {
    auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"alheia"_s);
    db.setDatabaseName(ficheiro);
    QVERIFY(db.open());
    QSqlQuery q(db);
    QVERIFY(q.exec(u"CREATE TABLE Clientes (Nome TEXT)"_s));
    QVERIFY(q.exec(u"INSERT INTO Clientes VALUES ('Silva')"_s));
    db.close();
  }
  QSqlDatabase::removeDatabase(u"alheia"_s);
}
