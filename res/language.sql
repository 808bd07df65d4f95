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
-- window_text the window's further texts, one row per text id; one column per language
--            key. The finder looks a text up by its id in the column of the language
--            applied; an empty cell, a missing column or a missing table shows the
--            English the finder holds itself. %1, %2, ... are filled in by the finder.
-- text_encoding  the encoding the user named for camera texts ('auto': by language).
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

CREATE TABLE window_text (
  id      TEXT PRIMARY KEY,
  English TEXT,
  ChinaGB TEXT,
  ChinaBG TEXT,
  French  TEXT,
  German  TEXT,
  Japan   TEXT
);
INSERT INTO window_text VALUES
  ('info_ip_get',
   'IP Get:',
   'IP获取方式：',
   'IP取得方式：',
   'Mode IP : ',
   'IP-Bezug: ',
   'IP取得方式：'),
  ('info_version',
   'Version:',
   '版本：',
   '版本：',
   'Version : ',
   'Version: ',
   'バージョン：'),
  ('frame_adsl',
   'ADSL / DSL',
   'ADSL / DSL 拨号',
   'ADSL / DSL 撥接',
   'Connexion ADSL / DSL',
   'ADSL-/DSL-Einwahl',
   'ADSL / DSL 接続'),
  ('menu_encoding',
   'Camera text encoding',
   '摄像机文字编码',
   '攝影機文字編碼',
   'Encodage des textes de la caméra',
   'Kodierung der Kameratexte',
   'カメラの文字コード'),
  ('encoding_auto',
   'Automatic (by language)',
   '自动（按界面语言）',
   '自動（依介面語言）',
   'Automatique (selon la langue)',
   'Automatisch (nach Sprache)',
   '自動（表示言語に合わせる）'),
  ('encoding_gbk',
   'GBK (Simplified Chinese)',
   'GBK（简体中文）',
   'GBK（簡體中文）',
   'GBK (chinois simplifié)',
   'GBK (vereinfachtes Chinesisch)',
   'GBK（簡体字中国語）'),
  ('encoding_big5',
   'Big5 (Traditional Chinese)',
   'Big5（繁体中文）',
   'Big5（繁體中文）',
   'Big5 (chinois traditionnel)',
   'Big5 (traditionelles Chinesisch)',
   'Big5（繁体字中国語）'),
  ('encoding_shift_jis',
   'Shift_JIS (Japanese)',
   'Shift_JIS（日语）',
   'Shift_JIS（日語）',
   'Shift_JIS (japonais)',
   'Shift_JIS (Japanisch)',
   'Shift_JIS（日本語）'),
  ('encoding_cp1252',
   'Windows-1252 (Western European)',
   'Windows-1252（西欧语言）',
   'Windows-1252（西歐語言）',
   'Windows-1252 (Europe occidentale)',
   'Windows-1252 (westeuropäisch)',
   'Windows-1252（西ヨーロッパ言語）'),
  ('submit_title',
   'Submit',
   '提交',
   '送出',
   'Envoyer',
   'Senden',
   '送信'),
  ('field_name',
   'Name',
   '名称',
   '名稱',
   'Nom',
   'Name',
   '名前'),
  ('field_account',
   'Account',
   '账号',
   '帳號',
   'Compte',
   'Konto',
   'アカウント'),
  ('field_password',
   'Password',
   '密码',
   '密碼',
   'Mot de passe',
   'Passwort',
   'パスワード'),
  ('field_ip',
   'IP',
   'IP地址',
   'IP位址',
   'Adresse IP',
   'IP-Adresse',
   'IPアドレス'),
  ('field_netmask',
   'Submask',
   '子网掩码',
   '子網路遮罩',
   'Masque de sous-réseau',
   'Netzmaske',
   'サブネットマスク'),
  ('field_gateway',
   'Gateway',
   '网关',
   '閘道',
   'Passerelle',
   'Gateway',
   'ゲートウェイ'),
  ('field_http_port',
   'Http Port',
   'HTTP端口',
   'HTTP連接埠',
   'Port HTTP',
   'HTTP-Port',
   'HTTPポート'),
  ('field_mac',
   'Mac',
   'MAC地址',
   'MAC位址',
   'Adresse MAC',
   'MAC-Adresse',
   'MACアドレス'),
  ('check_not_address',
   '%1: "%2" is not an address. Type four numbers from 0 to 255 separated by dots, such as 192.168.1.100. Nothing was sent.',
   '%1：“%2”不是有效的地址。请输入四个 0 到 255 之间的数字，以点分隔，例如 192.168.1.100。未发送任何内容。',
   '%1：「%2」不是有效的位址。請輸入四個 0 到 255 之間的數字，以點分隔，例如 192.168.1.100。未傳送任何內容。',
   '%1 : « %2 » n''est pas une adresse. Saisissez quatre nombres de 0 à 255 séparés par des points, par exemple 192.168.1.100. Rien n''a été envoyé.',
   '%1: „%2“ ist keine Adresse. Geben Sie vier Zahlen von 0 bis 255 ein, durch Punkte getrennt, z. B. 192.168.1.100. Es wurde nichts gesendet.',
   '%1：「%2」はアドレスではありません。0～255 の数字を 4 つ、ドットで区切って入力してください（例：192.168.1.100）。何も送信されていません。'),
  ('check_not_port',
   '%1: "%2" is not a port. Type a number from 1 to 65535. Nothing was sent.',
   '%1：“%2”不是有效的端口。请输入 1 到 65535 之间的数字。未发送任何内容。',
   '%1：「%2」不是有效的連接埠。請輸入 1 到 65535 之間的數字。未傳送任何內容。',
   '%1 : « %2 » n''est pas un port. Saisissez un nombre de 1 à 65535. Rien n''a été envoyé.',
   '%1: „%2“ ist kein Port. Geben Sie eine Zahl von 1 bis 65535 ein. Es wurde nichts gesendet.',
   '%1：「%2」はポート番号ではありません。1～65535 の数字を入力してください。何も送信されていません。'),
  ('check_not_mac',
   '%1: "%2" is not a MAC address. Type twelve hexadecimal digits without separators, such as 001a2b3c4d5e. Nothing was sent.',
   '%1：“%2”不是有效的 MAC 地址。请输入十二位十六进制数字，不带分隔符，例如 001a2b3c4d5e。未发送任何内容。',
   '%1：「%2」不是有效的 MAC 位址。請輸入十二位十六進位數字，不含分隔符號，例如 001a2b3c4d5e。未傳送任何內容。',
   '%1 : « %2 » n''est pas une adresse MAC. Saisissez douze chiffres hexadécimaux sans séparateur, par exemple 001a2b3c4d5e. Rien n''a été envoyé.',
   '%1: „%2“ ist keine MAC-Adresse. Geben Sie zwölf Hexadezimalziffern ohne Trennzeichen ein, z. B. 001a2b3c4d5e. Es wurde nichts gesendet.',
   '%1：「%2」は MAC アドレスではありません。区切り文字なしで 16 進数 12 桁を入力してください（例：001a2b3c4d5e）。何も送信されていません。'),
  ('check_too_long',
   '%1: the text is too long. The camera keeps %2 bytes of it in %3: only the first %4 characters fit. Nothing was sent.',
   '%1：文字太长。摄像机以 %3 编码最多保存 %2 个字节，只能容纳前 %4 个字符。未发送任何内容。',
   '%1：文字太長。攝影機以 %3 編碼最多儲存 %2 個位元組，只能容納前 %4 個字元。未傳送任何內容。',
   '%1 : le texte est trop long. La caméra en garde %2 octets en %3 : seuls les %4 premiers caractères tiennent. Rien n''a été envoyé.',
   '%1: Der Text ist zu lang. Die Kamera speichert davon %2 Byte in %3: Nur die ersten %4 Zeichen passen. Es wurde nichts gesendet.',
   '%1：文字列が長すぎます。カメラは %3 で %2 バイトまでしか保存できないため、入るのは先頭の %4 文字だけです。何も送信されていません。'),
  ('check_not_held',
   '%1: the camera keeps this text in %2, which has no "%3" (%4). Nothing was sent.',
   '%1：摄像机以 %2 编码保存这段文字，该编码中没有字符“%3”（%4）。未发送任何内容。',
   '%1：攝影機以 %2 編碼儲存這段文字，該編碼中沒有字元「%3」（%4）。未傳送任何內容。',
   '%1 : la caméra enregistre ce texte en %2, qui ne contient pas le caractère « %3 » (%4). Rien n''a été envoyé.',
   '%1: Die Kamera speichert diesen Text in %2; dort gibt es das Zeichen „%3“ (%4) nicht. Es wurde nichts gesendet.',
   '%1：カメラはこの文字列を %2 で保存しますが、%2 には文字「%3」（%4）がありません。何も送信されていません。'),
  ('check_unreadable',
   '%1: the text still holds marks (�) for characters of the camera that could not be read. Retype it. Nothing was sent.',
   '%1：文字中仍有表示无法读取的字符的标记（�）。请重新输入。未发送任何内容。',
   '%1：文字中仍有表示無法讀取的字元的標記（�）。請重新輸入。未傳送任何內容。',
   '%1 : le texte contient encore des marques (�) à la place de caractères illisibles de la caméra. Ressaisissez-le. Rien n''a été envoyé.',
   '%1: Der Text enthält noch Ersatzzeichen (�) für Zeichen der Kamera, die nicht lesbar waren. Geben Sie ihn neu ein. Es wurde nichts gesendet.',
   '%1：読み取れなかった文字を示す記号（�）が残っています。入力し直してください。何も送信されていません。');

CREATE TABLE text_encoding (encoding TEXT NOT NULL);
INSERT INTO text_encoding (encoding) VALUES ('auto');

COMMIT;
