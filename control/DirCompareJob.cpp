// Directory-comparison methods of CLindrelCtrl (placeholder until the directory scan lands).
