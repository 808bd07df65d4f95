-- The source of language.db, the translations of the finder's window. The build turns it
-- into language.db next to the finder (sqlite3 language.db < language.sql does the same).
-- Texts are UTF-8. A text may hold at most 259 bytes; keep labels short enough to fit.
--
-- current    the language the user picked last, as an index into table `language`.
-- language   row r is language r; column k holds its name written in language k. The
--            table is square: one row and one column per language, in the same order.
-- interface  one row per language key (column `language`); the finder reads the cells by
--            position: 2 to 15, except 4, go to the window (see the column comments);
--            0, 1 and 4 are read but shown nowhere.
--
-- Adding a seventh language: append a row to `language` holding its name in each of the
-- six languages, add a seventh column to `language` (alter table language add column
-- ...; then fill it with every language's name written in the new language), and add a
-- row to `interface` with the empty key '' (the finder looks languages past the sixth up
-- under the empty key).

BEGIN TRANSACTION;

CREATE TABLE current (language INTEGER NOT NULL);
INSERT INTO current (language) VALUES (0);

CREATE TABLE language (
  english  TEXT,
  china_gb TEXT,
  china_bg TEXT,
  french   TEXT,
  german   TEXT,
  japanese TEXT
);
INSERT INTO language VALUES
  ('English',             '英语',     '英語',     'Anglais',              'Englisch',                  '英語'),
  ('Simplified Chinese',  '简体中文', '簡體中文', 'Chinois simplifié',    'Vereinfachtes Chinesisch',  '簡体字中国語'),
  ('Traditional Chinese', '繁体中文', '繁體中文', 'Chinois traditionnel', 'Traditionelles Chinesisch', '繁体字中国語'),
  ('French',              '法语',     '法語',     'Français',             'Französisch',               'フランス語'),
  ('German',              '德语',     '德語',     'Allemand',             'Deutsch',                   'ドイツ語'),
  ('Japanese',            '日语',     '日語',     'Japonais',             'Japanisch',                 '日本語');

CREATE TABLE interface (
  language      TEXT NOT NULL, -- 0  the key: English ChinaGB ChinaBG French German Japan
  native_name   TEXT,          -- 1  the language's own name, for translators
  account       TEXT,          -- 2  label 1019 "Acount"
  password      TEXT,          -- 3  label 1020 "Password"
  reserved      TEXT,          -- 4  shown nowhere
  address       TEXT,          -- 5  label 1022 "Address:"
  device_name   TEXT,          -- 6  label 1023 "Name"
  ip            TEXT,          -- 7  label 1024 "IP"
  submask       TEXT,          -- 8  label 1025 "Submask"
  gateway       TEXT,          -- 9  label 1026 "Gateway"
  http_port     TEXT,          -- 10 label 1027 "Http Port"
  submit_button TEXT,          -- 11 button 1012 "Submit"
  status        TEXT,          -- 12 label 1028 "Status:"
  caption       TEXT,          -- 13 the window's caption
  update_button TEXT,          -- 14 button 1001 "Update"
  exit_button   TEXT           -- 15 button 1002 "Exit"
);
INSERT INTO interface VALUES
  ('English', 'English', 'Acount', 'Password', NULL, 'Address:', 'Name', 'IP',
   'Submask', 'Gateway', 'Http Port', 'Submit', 'Status:', 'IP Camera Finder',
   'Update', 'Exit'),
  ('ChinaGB', '简体中文', '账号', '密码', NULL, '地址：', '名称', 'IP地址',
   '子网掩码', '网关', 'HTTP端口', '提交', '状态：', 'IP摄像机搜索工具',
   '刷新', '退出'),
  ('ChinaBG', '繁體中文', '帳號', '密碼', NULL, '位址：', '名稱', 'IP位址',
   '子網路遮罩', '閘道', 'HTTP連接埠', '送出', '狀態：', 'IP攝影機搜尋工具',
   '重新整理', '離開'),
  ('French', 'Français', 'Compte', 'Mot de passe', NULL, 'Adresse :', 'Nom', 'IP',
   'Masque', 'Passerelle', 'Port HTTP', 'Envoyer', 'État :', 'Recherche de caméras IP',
   'Actualiser', 'Quitter'),
  ('German', 'Deutsch', 'Konto', 'Passwort', NULL, 'Adresse:', 'Name', 'IP',
   'Netzmaske', 'Gateway', 'HTTP-Port', 'Senden', 'Status:', 'IP-Kamera-Suche',
   'Suchen', 'Beenden'),
  ('Japan', '日本語', 'アカウント', 'パスワード', NULL, 'アドレス：', '名前', 'IPアドレス',
   'ネットマスク', 'ゲートウェイ', 'HTTPポート', '送信', '状態：', 'IPカメラ検索ツール',
   '更新', '終了');

COMMIT;
