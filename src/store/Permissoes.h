#pragma once

// Every file the program writes holds personal data: the data file and its lock and journal,
// backups and the copies kept aside by a restore, PDFs, CSV exports. From this call on, the
// files and folders this process creates are its owner's alone (files 0600, folders 0700)
// where the system has such permissions. Files that already exist keep theirs.
void ReservarFicheirosAoDono();
