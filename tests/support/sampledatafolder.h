#pragma once

#include <QString>

// Fills a data folder root (ending with "/") as years of use would: one day
// note per day from 1 January 2017 (short and long notes, empty ones, CR LF
// and Windows-1252 text), a day folder now and then, `projects` projects
// with seven pages and a ledger each, their list, and a few topics. Returns
// how many files it wrote.
int writeSampleDataFolder(const QString &root, int days = 3650, int projects = 300);
