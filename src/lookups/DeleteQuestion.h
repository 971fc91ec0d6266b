#pragma once

#include "data/Ledger.h"

#include <QString>

// The line a delete question ends with, naming what goes along with the record:
// "That is Fuel and its 3 transactions and 2 business allocations." Counts are
// written by the program locale; a record with nothing attached says so ("That
// is Fuel alone: it has no transactions and no business allocations.").
// what: the record as the line names it ("Abbey" or "category Fuel");
// allocatedTo: what the allocations join it to ("category" or "business").
QString deleteDependantsLine(const QString& what, const Ledger::Dependants& dependants,
                             const QString& allocatedTo);
