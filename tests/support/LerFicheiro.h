#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariantList>

// Reads Quotas.Dad through a connection of its own, as another program would see the file.
inline QList<QVariantList> Consultar(const QString &sql,
                                     const QString &ficheiro = QStringLiteral("Quotas.Dad")) {
  static int n = 0;
  const QString nome = QStringLiteral("leitura-") + QString::number(++n);
  QList<QVariantList> linhas;
  {
    auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
    db.setDatabaseName(ficheiro);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (db.open()) {
      QSqlQuery q(db);
      if (q.exec(sql)) {
        while (q.next()) {
          QVariantList l;
          for (int i = 0; i < q.record().count(); ++i)
            l << q.value(i);
          linhas << l;
        }
      } else {
        linhas << QVariantList{QStringLiteral("erro: ") + q.lastError().text()};
      }
    }
    db.close();
  }
  QSqlDatabase::removeDatabase(nome);
  return linhas;
}

// The first column of every row, as texts.
inline QStringList Coluna(const QString &sql) {
  QStringList r;
  for (const auto &l : Consultar(sql))
    r << l.value(0).toString();
  return r;
}
