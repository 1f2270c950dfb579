// Report and alignment methods of CLindrelCtrl (placeholder until the reports land).
