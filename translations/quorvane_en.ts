<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Application</name>
    <message>
        <source>不明なエラーが発生しました</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: quorvane [FOLDER]  (opens FOLDER in the folder tree; without it, the desktop folder)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Conversion</name>
    <message>
        <source>変換が完了しました</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>次のファイルは、同じ名前の新しいファイルをこの変換で先に作成したため、変換しませんでした（元のファイルは残っています）:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>次の元のファイルは変換しましたが、削除できませんでした:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>サイズ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>作成日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>更新日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ｱｸｾｽ日時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>属性</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>変更前名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>変更後名</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Listing</name>
    <message numerus="yes">
        <source>%n File(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>以降のエラーにも同じ答えを使う</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>情報</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>エラー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NumericText</name>
    <message>
        <source>&apos;%1&apos; は浮動小数点数ではありません</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReplaceOptions</name>
    <message>
        <source>ex) abC.txt -&gt; abC.txt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ex) abC.txt -&gt; abc.txt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ex) abC.txt -&gt; ABC.txt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ex) abC.txt -&gt; Abc.txt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ex) abC.txt -&gt; Cba.txt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ex) Abcdefghij.txt -&gt; Abcdef~1.txt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ex) AbC.txt -&gt; AbC.txt</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunError</name>
    <message>
        <source>ファイル名に使えない名前です</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>指定された日時は現地時刻に存在しません</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元の日時と属性の記録を読めません</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不明なエラーです</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Runs</name>
    <message>
        <source>属性を変更できませんでした</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>属性変更が完了しました</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>変換前ファイル名：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>変換後ファイル名：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイル名の変更を取り消しますか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名前を変更できませんでした</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>リネームが完了しました</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日付を変更できませんでした</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイル日付の変更が完了しました</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元に戻せませんでした</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>変更の取り消しが完了しました</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>次の %n 個のファイルは%1：</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>ほか %n 個</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SerialNaming</name>
    <message>
        <source>&apos;%1&apos; は整数ではありません</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>【元ファイル名】もしくは【連番】を必ずファイル名に含めてください</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SerialPieces</name>
    <message>
        <source>元ファイル名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連番</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日付(YYYYMMDD)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>時刻(HHMMSS)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日付+時刻(YYYYMMDDHHMMSS)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>_(アンダーライン)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>%1 に書き込めません</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::ui::MediaPlayer</name>
    <message>
        <source>再生</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>先頭へ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>コマ送り</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>コマ戻し</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MCI デバイスがありません</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::ui::PreviewImage</name>
    <message>
        <source>イメージプレビュー</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::ui::PreviewPane</name>
    <message>
        <source>Size: %1x%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvane::ui::Tfom_Main</name>
    <message>
        <source>ファイル日付の変更を実行します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイル日付を変更しています...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイル属性の変更を実行します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイル属性を変更しています...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像ファイルを変換します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像ファイルを変換しています...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>リネームを実行します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイル名を変更しています...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイル名の変更を取り消しました</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元の名前に戻せませんでした</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>変更を取り消します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>変更を取り消しています...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>現在のBMPファイルをJPEGファイルに置換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>現在のJPEGファイルをBMPファイルに置換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新規JPEGファイルを作成</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新規BMPファイルを作成</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>現在のBMPをJPEGに置換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>終了</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択範囲を上へ移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択範囲を下に移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>縦方向に二分</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>横方向に二分</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>イメージプレビュー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>絞り込むファイル種類</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>絞り込み(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>絞り込みの実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>対象となるフォルダの指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>変更前ファイルリスト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>変更後ファイルリスト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連番</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>置換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>拡張子</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日付変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>属性変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プレビュー(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  実  行  (&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>リネーム結果のプレビュー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>【ファイル名】</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>【前方】+【中間】+【後方】.&lt;元の拡張子&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイル名【前方】：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイル名【中間】：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイル名【後方】：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>【連番】</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連番開始番号：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連番桁数：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>リネームの実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>【検索・置換ファイル名】</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>検索文字列：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>置換文字列：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>大文字と小文字を区別する</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>拡張子も置換対象にする</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>【オプション】</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>何もしない</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>小文字に変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>大文字に変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>先頭を大文字に変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全角に変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>半角に変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>逆順に並び替え</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>8.3形式に変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>【拡張子】</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新拡張子：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>．</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ピリオドは必要ありません</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>拡張子変更の実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>【ファイル日付】</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>作成日時：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>更新日時：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アクセス日時：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>更新日時を変更する</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アクセス日時を変更する</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>作成日時はこの環境では変更できません</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日付変更結果のプレビュー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日付変更の実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>【属性】</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>読み取り専用ファイル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>隠しファイル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>システムファイル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アーカイブファイル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元の属性に追加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元の属性から削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>属性の置き換え</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>属性変更結果のプレビュー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>属性変更の実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>【変換形式】</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BMP  2 JPEG</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG 2 BMP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BMP  2 New JPEG</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG 2 New BMP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>【Jpeg圧縮オプション】</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>圧縮レート：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1% 低品質(高圧縮)---100% 高品質(低圧縮)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>256色グレイスケール</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>256色モノクロ画像で保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プログレッシブ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プログレッシブモードで保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像変換の実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>【プレビュー設定】</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自動再生を行う</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>【表示設定】</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>隠しファイルは非表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>システムファイルは非表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表示言語 / Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自動 / Auto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quorvane    【%1】</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
