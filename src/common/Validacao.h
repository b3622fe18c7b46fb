#pragma once

#include <QString>
#include <QStringView>

// Checks of numbers the user copies from documents. They only warn: a number from abroad, or
// from a series the rules below do not know, is still the user's to keep.

// The Portuguese tax number (NIF, or NIPC for a company): nine digits, nothing else, whose
// last is the check digit of the first eight. With weights 9 down to 2 on those eight,
// r = sum mod 11, and the check digit is 0 when r is 0 or 1, else 11 - r.
//
// The first digit tells the kind of holder: 1, 2 and 3 people, 5 companies, 6 public bodies,
// 7 estates, funds and other entities (70 to 79), 8 sole traders, 9 condominiums, irregular
// companies and non-residents (90 to 99). 0 starts no number. Of the numbers starting with 4,
// only 45 (people not resident, given a number for tax alone) exists; the rest of the 4
// series is refused.
bool NifVálido(QStringView nif);

// Why `nif` is not a valid tax number, in a sentence for the user; an empty text when it is
// valid.
QString MotivoNifInválido(QStringView nif);

// Whether the text starts with a postal code of the CTT form "NNNN-NNN" (four digits, a
// hyphen, three digits) not followed by another digit; the locality may follow it.
bool ComeçaPorCódigoPostal(QStringView texto);
