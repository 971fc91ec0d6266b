-- The reports the delivered database offers. Each title is also the name of the
-- report file that lies beside the database.
INSERT INTO Reports (Reportid, ReportTitle) VALUES (1, 'Transactions by category.report');
INSERT INTO Reports (Reportid, ReportTitle) VALUES (2, 'VAT summary.report');
