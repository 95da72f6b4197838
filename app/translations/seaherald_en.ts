<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>SEAHERALD</name>
    <message>
        <source>設　　定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>モニター</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>受信時間</source>
        <translation>Received</translation>
    </message>
    <message>
        <source>電文番号</source>
        <translation>Header</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Content</translation>
    </message>
    <message>
        <source>受信電文</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>受信電文１</source>
        <translation>Live 1</translation>
    </message>
    <message>
        <source>受信電文２</source>
        <translation>Live 2</translation>
    </message>
    <message>
        <source>第２受信機</source>
        <translation>Second receiver</translation>
    </message>
    <message>
        <source>右チャンネルを受信する</source>
        <translation>Receive the right channel</translation>
    </message>
    <message>
        <source>第１受信機と同じ</source>
        <translation>Same as receiver 1</translation>
    </message>
    <message>
        <source>読出電文</source>
        <translation>Stored</translation>
    </message>
    <message>
        <source>１件削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>その他の局</source>
        <translation>Other stations</translation>
    </message>
    <message>
        <source>全件削除</source>
        <translation>Delete all</translation>
    </message>
    <message>
        <source>電文番号：%1</source>
        <translation>Message %1</translation>
    </message>
    <message>
        <source>ナブテックス放送スケジュール</source>
        <translation>NAVTEX broadcast schedule</translation>
    </message>
    <message>
        <source>英文 (518kHz)</source>
        <translation>English (518kHz)</translation>
    </message>
    <message>
        <source>和文 (424kHz)</source>
        <translation>Japanese (424kHz)</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>English</translation>
    </message>
    <message>
        <source>和文</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>情報</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>設定ファイルの [Net] %1 の値 %2 は使えません</source>
        <translation>Settings file [Net]: %1 cannot be %2</translation>
    </message>
    <message>
        <source>NRX の送り先が見つかりません: %1</source>
        <translation>NRX destination not found: %1</translation>
    </message>
    <message>
        <source>%1 に書き込めません</source>
        <translation>Cannot write to %1</translation>
    </message>
    <message>
        <source>%1 は読み取り専用のため置き換えません</source>
        <translation>%1 is read-only and is kept as it is</translation>
    </message>
    <message>
        <source>%1 を読み込めません。
読み込めるまで、保存の印の変更と自動削除を行いません</source>
        <translation>Cannot read %1.
Until it can be read, Keep tags cannot be changed and no log is deleted automatically.</translation>
    </message>
    <message>
        <source>%1、基地局（%2）、%3の全てのログを削除します
よろしいですか？</source>
        <translation>Every log of %1, station %2, %3 will be deleted.
Are you sure?</translation>
    </message>
    <message>
        <source>%1を削除します。
よろしいですか？</source>
        <translation>%1 will be deleted.
Are you sure?</translation>
    </message>
    <message>
        <source>削除するメッセージ種類が選択されていません</source>
        <translation>No message type is selected for deletion.</translation>
    </message>
    <message>
        <source>録音デバイスをオープンできないためプログラムの実行ができません
デバイスが使用中か録音フォーマットに対応していない可能性があります</source>
        <translation>The recording device cannot be opened, so the program cannot receive.
The device may be in use or may not support the recording format.</translation>
    </message>
    <message>
        <source>バッファを確保できないためプログラムの実行ができません
メモリが不足している可能性があります</source>
        <translation>No sound buffers could be allocated, so the program cannot receive.
The computer may be short of memory.</translation>
    </message>
    <message>
        <source>再生デバイスをオープンできません</source>
        <translation>The playback device cannot be opened.</translation>
    </message>
    <message>
        <source>バッファを確保できません</source>
        <translation>No sound buffers could be allocated.</translation>
    </message>
    <message>
        <source>標準の入力デバイスでサウンドデバイスをオープンします</source>
        <translation>The stored input device is gone: opening the default input device.</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>デコーダ設定</source>
        <translation>Decoder</translation>
    </message>
    <message>
        <source>和文</source>
        <comment>decoder language button</comment>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>中心周波数</source>
        <translation>Centre frequency</translation>
    </message>
    <message>
        <source>サウンドデバイス選択</source>
        <translation>Input device...</translation>
    </message>
    <message>
        <source>伝送モード自動設定</source>
        <translation>Auto-detect mode</translation>
    </message>
    <message>
        <source>言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>極性</source>
        <translation>Polarity</translation>
    </message>
    <message>
        <source>正転</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>反転</source>
        <translation>Inverse</translation>
    </message>
    <message>
        <source>高感度受信</source>
        <translation>High-sensitivity
receive path</translation>
    </message>
    <message>
        <source>電文処理設定</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>タイムアウト値</source>
        <translation>Time-out</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>ログファイル処理設定</source>
        <translation>Log files</translation>
    </message>
    <message>
        <source>自動ログファイル削除</source>
        <translation>Delete old logs</translation>
    </message>
    <message>
        <source>削除経過日数</source>
        <translation>Delete after</translation>
    </message>
    <message>
        <source>日</source>
        <translation>days</translation>
    </message>
    <message>
        <source>設定エラー数以上はログを保存しない</source>
        <translation>Skip logs with many cut lines</translation>
    </message>
    <message>
        <source>エラー数</source>
        <translation>Limit</translation>
    </message>
    <message>
        <source>個</source>
        <translation>lines</translation>
    </message>
    <message>
        <source>表示フォント設定</source>
        <translation>Display font</translation>
    </message>
    <message>
        <source>文字色</source>
        <translation>Text colour</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>フォント選択</source>
        <translation>Choose font</translation>
    </message>
    <message>
        <source>入力デバイスの設定</source>
        <translation>Input device</translation>
    </message>
    <message>
        <source>入力デバイス</source>
        <translation>Input device</translation>
    </message>
    <message>
        <source>サウンド設定</source>
        <translation>Sound settings</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>標準の入力デバイス</source>
        <translation>Default input device</translation>
    </message>
    <message>
        <source>録音デバイス変更</source>
        <translation>Input device change</translation>
    </message>
    <message>
        <source>デバイス変更中…</source>
        <translation>Changing the device…</translation>
    </message>
    <message>
        <source>確認</source>
        <comment>alarm banner</comment>
        <translation>Acknowledge</translation>
    </message>
    <message>
        <source>警報: %1</source>
        <translation>Alarm: %1</translation>
    </message>
    <message>
        <source>受信局と種類</source>
        <translation>Stations and message types</translation>
    </message>
    <message>
        <source>日本の５局</source>
        <translation>None</translation>
    </message>
    <message>
        <source>周波数</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>受信する局 (B1, 空欄は全局)</source>
        <translation>Stations (B1; empty: all)</translation>
    </message>
    <message>
        <source>受信する種類 (B2)</source>
        <translation>Types (B2)</translation>
    </message>
    <message>
        <source>常に受信</source>
        <translation>Always taken</translation>
    </message>
    <message>
        <source>警報を出す種類 (Ｄは常に)</source>
        <translation>Alarm also for (D always)</translation>
    </message>
    <message>
        <source>保存（自動削除しない）</source>
        <translation>Keep (never delete automatically)</translation>
    </message>
</context>
</TS>
