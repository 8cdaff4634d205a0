<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Application</name>
    <message>
        <source>不明なエラーが発生しました</source>
        <translation>An unknown error occurred</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: quorvane [FOLDER]  (opens FOLDER in the folder tree; without it, the desktop folder)</source>
        <translation>Usage: quorvane [FOLDER]  (opens FOLDER in the folder tree; without it, the desktop folder)</translation>
    </message>
</context>
<context>
    <name>Conflicts</name>
    <message>
        <source>同じ名前になるファイルがあります: %1 行目</source>
        <translation>Another file would get the same name: row %1</translation>
    </message>
    <message>
        <source>同じ名前のファイルがすでにあります</source>
        <translation>A file of that name already exists</translation>
    </message>
    <message>
        <source>使用できない名前です</source>
        <translation>This name cannot be used</translation>
    </message>
    <message numerus="yes">
        <source>衝突: %n 件</source>
        <translation>
            <numerusform>Conflicts: %n</numerusform>
            <numerusform>Conflicts: %n</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Conversion</name>
    <message>
        <source>変換が完了しました</source>
        <translation>The conversion is complete</translation>
    </message>
    <message>
        <source>次のファイルは、同じ名前の新しいファイルをこの変換で先に作成したため、変換しませんでした（元のファイルは残っています）:</source>
        <translation>These files were not converted, because this conversion had already made a new file of the same name (the original files are still there):</translation>
    </message>
    <message>
        <source>次の元のファイルは変換しましたが、削除できませんでした:</source>
        <translation>These original files were converted, but could not be deleted:</translation>
    </message>
    <message>
        <source>このフォルダにはごみ箱がないため、元のファイルを削除しました。この変換は取り消せません。</source>
        <translation>This folder has no trash, so the original files were deleted. This conversion cannot be undone.</translation>
    </message>
</context>
<context>
    <name>DateTaken</name>
    <message>
        <source>撮影日時がないため、更新日時を使います</source>
        <translation>No date taken: the modified time is used</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>サイズ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>作成日時</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>更新日時</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>ｱｸｾｽ日時</source>
        <translation>Accessed</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Attributes</translation>
    </message>
    <message>
        <source>変更前名</source>
        <translation>Name before</translation>
    </message>
    <message>
        <source>変更後名</source>
        <translation>Name after</translation>
    </message>
</context>
<context>
    <name>IdentityError</name>
    <message>
        <source>一覧のフォルダが削除されたか、別のフォルダに変わっています</source>
        <translation>The listed folder has been deleted or replaced by another folder</translation>
    </message>
    <message>
        <source>一覧に表示した後で、別のファイルに置き換えられています</source>
        <translation>The file has been replaced by another file since it was listed</translation>
    </message>
    <message>
        <source>不明なエラーです</source>
        <translation>Unknown error</translation>
    </message>
</context>
<context>
    <name>Journal</name>
    <message>
        <source>この処理の記録はありません</source>
        <translation>There is no record of this run</translation>
    </message>
    <message>
        <source>この処理は取り消せません</source>
        <translation>This run cannot be undone</translation>
    </message>
    <message>
        <source>元のファイルをごみ箱に移せなかったため、この処理は取り消せません</source>
        <translation>This run cannot be undone: its original files could not be moved to the trash</translation>
    </message>
    <message>
        <source>この処理の結果を記録できなかったため、取り消せません</source>
        <translation>This run cannot be undone: what it did could not be recorded</translation>
    </message>
    <message>
        <source>後の処理（%1）が同じファイルを変更しているため、先にその処理を取り消してください</source>
        <translation>A later run (%1) changed the same files; undo that run first</translation>
    </message>
    <message>
        <source>この処理の記録を読めませんでした</source>
        <translation>The record of this run could not be read</translation>
    </message>
    <message>
        <source>新しい版のプログラムの履歴です</source>
        <translation>the history was written by a newer version of the program</translation>
    </message>
    <message>
        <source>履歴のファイルが壊れています</source>
        <translation>the history file is damaged</translation>
    </message>
    <message>
        <source>履歴を使用できません: %1</source>
        <translation>The history is not available: %1</translation>
    </message>
    <message>
        <source>リネーム</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>日付変更</source>
        <translation>Times</translation>
    </message>
    <message>
        <source>属性変更</source>
        <translation>Attributes</translation>
    </message>
    <message>
        <source>画像変換</source>
        <translation>Image conversion</translation>
    </message>
    <message>
        <source>取り消し</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>前回の処理の記録を読めませんでした</source>
        <translation>The record of the unfinished run could not be read</translation>
    </message>
    <message>
        <source>前回の処理のフォルダを読めませんでした</source>
        <translation>The folder of the unfinished run could not be read</translation>
    </message>
    <message>
        <source>前回の処理の前の状態に戻しました</source>
        <translation>The folder is back as it was before the unfinished run</translation>
    </message>
    <message>
        <source>前回の処理を最後まで実行しました</source>
        <translation>The unfinished run has been finished as planned</translation>
    </message>
    <message>
        <source>処理の後で別に変更されていたため、そのままにしました</source>
        <translation>were changed by someone else since and were left as they are</translation>
    </message>
    <message>
        <source>戻せませんでした</source>
        <translation>could not be changed</translation>
    </message>
    <message>
        <source>前回の処理が完了していません。<byte value="xd"/>
<byte value="xd"/>
フォルダ：%1<byte value="xd"/>
処理：%2<byte value="xd"/>
<byte value="xd"/>
「はい」で処理の前の状態に戻し、「いいえ」で予定どおり最後まで処理します。</source>
        <translation>The last run did not finish.<byte value="xd"/>
<byte value="xd"/>
Folder: %1<byte value="xd"/>
Run: %2<byte value="xd"/>
<byte value="xd"/>
Yes puts the folder back as it was before the run, No finishes the run as planned.</translation>
    </message>
    <message>
        <source>別に起動しているプログラムが履歴を使用しています</source>
        <translation>another copy of the program is using it</translation>
    </message>
</context>
<context>
    <name>Listing</name>
    <message numerus="yes">
        <source>%n File(s)</source>
        <translation>
            <numerusform>%n File</numerusform>
            <numerusform>%n Files</numerusform>
        </translation>
    </message>
    <message>
        <source>%1。何も変更しませんでした</source>
        <translation>%1. Nothing has been changed</translation>
    </message>
    <message>
        <source>フォルダを最後まで読み込めませんでした：%1</source>
        <translation>The folder could not be read to its end: %1</translation>
    </message>
    <message>
        <source>%1。一覧を空にしました</source>
        <translation>%1. The lists have been emptied</translation>
    </message>
    <message>
        <source>読込エラー</source>
        <translation>Read error</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>以降のエラーにも同じ答えを使う</source>
        <translation>Give the same answer to later errors</translation>
    </message>
    <message>
        <source>情報</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>NumericText</name>
    <message>
        <source>&apos;%1&apos; は浮動小数点数ではありません</source>
        <translation>&apos;%1&apos; is not a valid number</translation>
    </message>
</context>
<context>
    <name>ReplaceOptions</name>
    <message>
        <source>ex) abC.txt -&gt; abC.txt</source>
        <translation>e.g. abC.txt -&gt; abC.txt</translation>
    </message>
    <message>
        <source>ex) abC.txt -&gt; abc.txt</source>
        <translation>e.g. abC.txt -&gt; abc.txt</translation>
    </message>
    <message>
        <source>ex) abC.txt -&gt; ABC.txt</source>
        <translation>e.g. abC.txt -&gt; ABC.txt</translation>
    </message>
    <message>
        <source>ex) abC.txt -&gt; Abc.txt</source>
        <translation>e.g. abC.txt -&gt; Abc.txt</translation>
    </message>
    <message>
        <source>ex) abC.txt -&gt; Cba.txt</source>
        <translation>e.g. abC.txt -&gt; Cba.txt</translation>
    </message>
    <message>
        <source>ex) Abcdefghij.txt -&gt; Abcdef~1.txt</source>
        <translation>e.g. Abcdefghij.txt -&gt; Abcdef~1.txt</translation>
    </message>
    <message>
        <source>ex) AbC.txt -&gt; AbC.txt</source>
        <translation>e.g. AbC.txt -&gt; AbC.txt</translation>
    </message>
</context>
<context>
    <name>RunError</name>
    <message>
        <source>ファイル名に使えない名前です</source>
        <translation>This name cannot be used as a file name</translation>
    </message>
    <message>
        <source>指定された日時は現地時刻に存在しません</source>
        <translation>The chosen date and time do not exist in local time</translation>
    </message>
    <message>
        <source>元の日時と属性の記録を読めません</source>
        <translation>The record of the original times and attributes cannot be read</translation>
    </message>
    <message>
        <source>不明なエラーです</source>
        <translation>Unknown error</translation>
    </message>
</context>
<context>
    <name>Runs</name>
    <message>
        <source>属性を変更できませんでした</source>
        <translation>could not have their attributes changed</translation>
    </message>
    <message>
        <source>属性変更が完了しました</source>
        <translation>The attributes have been changed</translation>
    </message>
    <message>
        <source>変換前ファイル名：</source>
        <translation>Name before: </translation>
    </message>
    <message>
        <source>変換後ファイル名：</source>
        <translation>Name after: </translation>
    </message>
    <message>
        <source>ファイル名の変更を取り消しますか？</source>
        <translation>Undo the renaming?</translation>
    </message>
    <message>
        <source>名前を変更できませんでした</source>
        <translation>could not be renamed</translation>
    </message>
    <message>
        <source>リネームが完了しました</source>
        <translation>The files have been renamed</translation>
    </message>
    <message>
        <source>日付を変更できませんでした</source>
        <translation>could not have their times changed</translation>
    </message>
    <message>
        <source>ファイル日付の変更が完了しました</source>
        <translation>The file times have been changed</translation>
    </message>
    <message>
        <source>元に戻せませんでした</source>
        <translation>could not be put back</translation>
    </message>
    <message>
        <source>変更の取り消しが完了しました</source>
        <translation>The changes have been undone</translation>
    </message>
    <message numerus="yes">
        <source>次の %n 個のファイルは%1：</source>
        <translation>
            <numerusform>The following file %1:</numerusform>
            <numerusform>The following %n files %1:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>ほか %n 個</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
    <message>
        <source>フォルダの変更をディスクに書き込めませんでした：%1</source>
        <translation>The folder&apos;s changes could not be written to the disk: %1</translation>
    </message>
    <message>
        <source>実行の後で変更されていたため、日時と属性を戻しませんでした</source>
        <translation>had been changed since the run, so their times and attributes were not put back</translation>
    </message>
    <message>
        <source>変更を取り消せませんでした</source>
        <translation>The changes could not be undone</translation>
    </message>
    <message>
        <source>取り消す変更はありませんでした</source>
        <translation>There were no changes to undo</translation>
    </message>
    <message>
        <source>一時的な名前のまま残りました（元に戻すで戻せます）</source>
        <translation>were left under a temporary name (Undo gives them their names back)</translation>
    </message>
    <message numerus="yes">
        <source>撮影日時のない %n 個のファイルは変更しませんでした</source>
        <translation>
            <numerusform>%n file without a date taken was left unchanged</numerusform>
            <numerusform>%n files without a date taken were left unchanged</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SerialNaming</name>
    <message>
        <source>&apos;%1&apos; は整数ではありません</source>
        <translation>&apos;%1&apos; is not a whole number</translation>
    </message>
    <message>
        <source>【元ファイル名】もしくは【連番】を必ずファイル名に含めてください</source>
        <translation>The name must contain the original name or the serial number</translation>
    </message>
</context>
<context>
    <name>SerialPieces</name>
    <message>
        <source>元ファイル名</source>
        <translation>Original name</translation>
    </message>
    <message>
        <source>連番</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>日付(YYYYMMDD)</source>
        <translation>Date (YYYYMMDD)</translation>
    </message>
    <message>
        <source>時刻(HHMMSS)</source>
        <translation>Time (HHMMSS)</translation>
    </message>
    <message>
        <source>日付+時刻(YYYYMMDDHHMMSS)</source>
        <translation>Date and time (YYYYMMDDHHMMSS)</translation>
    </message>
    <message>
        <source>_(アンダーライン)</source>
        <translation>_ (underscore)</translation>
    </message>
    <message>
        <source>撮影日(YYYYMMDD)</source>
        <translation>Date taken (YYYYMMDD)</translation>
    </message>
    <message>
        <source>撮影時刻(HHMMSS)</source>
        <translation>Time taken (HHMMSS)</translation>
    </message>
    <message>
        <source>撮影日+時刻(YYYYMMDDHHMMSS)</source>
        <translation>Date and time taken (YYYYMMDDHHMMSS)</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>%1 に書き込めません</source>
        <translation>Cannot write %1</translation>
    </message>
</context>
<context>
    <name>quorvane::ui::HistoryModel</name>
    <message>
        <source>未完了</source>
        <translation>Unfinished</translation>
    </message>
    <message>
        <source>完了</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>完了（取り消し不可）</source>
        <translation>Done (cannot be undone)</translation>
    </message>
    <message>
        <source>取り消し済み</source>
        <translation>Undone</translation>
    </message>
    <message>
        <source>一部のみ取り消し</source>
        <translation>Partly undone</translation>
    </message>
    <message>
        <source>日時</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>フォルダ</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>ファイル数</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>失敗</source>
        <translation>Failures</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>State</translation>
    </message>
</context>
<context>
    <name>quorvane::ui::HistoryWindow</name>
    <message>
        <source>履歴</source>
        <translation>History</translation>
    </message>
    <message>
        <source>取り消す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>quorvane::ui::MediaPlayer</name>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>先頭へ</source>
        <translation>To the start</translation>
    </message>
    <message>
        <source>コマ送り</source>
        <translation>Next frame</translation>
    </message>
    <message>
        <source>コマ戻し</source>
        <translation>Previous frame</translation>
    </message>
    <message>
        <source>MCI デバイスがありません</source>
        <translation>No media is open</translation>
    </message>
</context>
<context>
    <name>quorvane::ui::PreviewImage</name>
    <message>
        <source>イメージプレビュー</source>
        <translation>Image preview</translation>
    </message>
</context>
<context>
    <name>quorvane::ui::PreviewPane</name>
    <message>
        <source>Size: %1x%2</source>
        <translation>Size: %1x%2</translation>
    </message>
</context>
<context>
    <name>quorvane::ui::Tfom_Main</name>
    <message>
        <source>ファイル日付の変更を実行します</source>
        <translation>Change the file times now?</translation>
    </message>
    <message>
        <source>ファイル日付を変更しています...</source>
        <translation>Changing the file times...</translation>
    </message>
    <message>
        <source>ファイル属性の変更を実行します</source>
        <translation>Change the file attributes now?</translation>
    </message>
    <message>
        <source>ファイル属性を変更しています...</source>
        <translation>Changing the file attributes...</translation>
    </message>
    <message>
        <source>画像ファイルを変換します</source>
        <translation>Convert the image files now?</translation>
    </message>
    <message>
        <source>画像ファイルを変換しています...</source>
        <translation>Converting the image files...</translation>
    </message>
    <message>
        <source>リネームを実行します</source>
        <translation>Rename the files now?</translation>
    </message>
    <message>
        <source>ファイル名を変更しています...</source>
        <translation>Renaming the files...</translation>
    </message>
    <message>
        <source>ファイル名の変更を取り消しました</source>
        <translation>The renaming has been undone</translation>
    </message>
    <message>
        <source>元の名前に戻せませんでした</source>
        <translation>could not get their original names back</translation>
    </message>
    <message>
        <source>変更を取り消します</source>
        <translation>Undo the changes now?</translation>
    </message>
    <message>
        <source>変更を取り消しています...</source>
        <translation>Undoing the changes...</translation>
    </message>
    <message>
        <source>現在のBMPファイルをJPEGファイルに置換</source>
        <translation>Replace the BMP files with JPEG files</translation>
    </message>
    <message>
        <source>現在のJPEGファイルをBMPファイルに置換</source>
        <translation>Replace the JPEG files with BMP files</translation>
    </message>
    <message>
        <source>新規JPEGファイルを作成</source>
        <translation>Make new JPEG files</translation>
    </message>
    <message>
        <source>新規BMPファイルを作成</source>
        <translation>Make new BMP files</translation>
    </message>
    <message>
        <source>現在のBMPをJPEGに置換</source>
        <translation>Replace the BMP files with JPEG</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>選択範囲を上へ移動</source>
        <translation>Move the selection up</translation>
    </message>
    <message>
        <source>選択範囲を下に移動</source>
        <translation>Move the selection down</translation>
    </message>
    <message>
        <source>縦方向に二分</source>
        <translation>Lists side by side</translation>
    </message>
    <message>
        <source>横方向に二分</source>
        <translation>Lists one above the other</translation>
    </message>
    <message>
        <source>イメージプレビュー</source>
        <translation>Image preview</translation>
    </message>
    <message>
        <source>絞り込むファイル種類</source>
        <translation>The kind of files to list</translation>
    </message>
    <message>
        <source>絞り込み(&amp;F)</source>
        <translation>&amp;Filter</translation>
    </message>
    <message>
        <source>絞り込みの実行</source>
        <translation>List the files that match</translation>
    </message>
    <message>
        <source>対象となるフォルダの指定</source>
        <translation>The folder to work on</translation>
    </message>
    <message>
        <source>変更前ファイルリスト</source>
        <translation>The files as they are</translation>
    </message>
    <message>
        <source>変更後ファイルリスト</source>
        <translation>The files as they will be</translation>
    </message>
    <message>
        <source>連番</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>置換</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>拡張子</source>
        <translation>Extension</translation>
    </message>
    <message>
        <source>日付変更</source>
        <translation>Times</translation>
    </message>
    <message>
        <source>属性変更</source>
        <translation>Attributes</translation>
    </message>
    <message>
        <source>画像変換</source>
        <translation>Images</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>プレビュー(&amp;P)</source>
        <translation>&amp;Preview</translation>
    </message>
    <message>
        <source>  実  行  (&amp;R)</source>
        <translation>&amp;Run</translation>
    </message>
    <message>
        <source>リネーム結果のプレビュー</source>
        <translation>Preview the new names</translation>
    </message>
    <message>
        <source>【ファイル名】</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>【前方】+【中間】+【後方】.&lt;元の拡張子&gt;</source>
        <translation>First + middle + last piece, then the original extension</translation>
    </message>
    <message>
        <source>ファイル名【前方】：</source>
        <translation>First piece:</translation>
    </message>
    <message>
        <source>ファイル名【中間】：</source>
        <translation>Middle piece:</translation>
    </message>
    <message>
        <source>ファイル名【後方】：</source>
        <translation>Last piece:</translation>
    </message>
    <message>
        <source>【連番】</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>連番開始番号：</source>
        <translation>Start at:</translation>
    </message>
    <message>
        <source>連番桁数：</source>
        <translation>Digits:</translation>
    </message>
    <message>
        <source>リネームの実行</source>
        <translation>Rename the files</translation>
    </message>
    <message>
        <source>【検索・置換ファイル名】</source>
        <translation>Search and replace in names</translation>
    </message>
    <message>
        <source>検索文字列：</source>
        <translation>Search for:</translation>
    </message>
    <message>
        <source>置換文字列：</source>
        <translation>Replace with:</translation>
    </message>
    <message>
        <source>大文字と小文字を区別する</source>
        <translation>Match case</translation>
    </message>
    <message>
        <source>拡張子も置換対象にする</source>
        <translation>Include the extension</translation>
    </message>
    <message>
        <source>【オプション】</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>何もしない</source>
        <translation>No change</translation>
    </message>
    <message>
        <source>小文字に変換</source>
        <translation>Lower case</translation>
    </message>
    <message>
        <source>大文字に変換</source>
        <translation>Upper case</translation>
    </message>
    <message>
        <source>先頭を大文字に変換</source>
        <translation>Capitalise</translation>
    </message>
    <message>
        <source>全角に変換</source>
        <translation>Full width</translation>
    </message>
    <message>
        <source>半角に変換</source>
        <translation>Half width</translation>
    </message>
    <message>
        <source>逆順に並び替え</source>
        <translation>Reverse</translation>
    </message>
    <message>
        <source>8.3形式に変換</source>
        <translation>8.3 short name</translation>
    </message>
    <message>
        <source>【拡張子】</source>
        <translation>Extension</translation>
    </message>
    <message>
        <source>新拡張子：</source>
        <translation>New extension:</translation>
    </message>
    <message>
        <source>．</source>
        <translation>.</translation>
    </message>
    <message>
        <source>ピリオドは必要ありません</source>
        <translation>Type the extension without the period</translation>
    </message>
    <message>
        <source>拡張子変更の実行</source>
        <translation>Change the extensions</translation>
    </message>
    <message>
        <source>【ファイル日付】</source>
        <translation>File times</translation>
    </message>
    <message>
        <source>作成日時：</source>
        <translation>Created:</translation>
    </message>
    <message>
        <source>更新日時：</source>
        <translation>Modified:</translation>
    </message>
    <message>
        <source>アクセス日時：</source>
        <translation>Accessed:</translation>
    </message>
    <message>
        <source>更新日時を変更する</source>
        <translation>Change the modified time</translation>
    </message>
    <message>
        <source>アクセス日時を変更する</source>
        <translation>Change the accessed time</translation>
    </message>
    <message>
        <source>作成日時はこの環境では変更できません</source>
        <translation>The creation time cannot be changed on this system</translation>
    </message>
    <message>
        <source>日付変更結果のプレビュー</source>
        <translation>Preview the new times</translation>
    </message>
    <message>
        <source>日付変更の実行</source>
        <translation>Change the times</translation>
    </message>
    <message>
        <source>【属性】</source>
        <translation>Attributes</translation>
    </message>
    <message>
        <source>読み取り専用ファイル</source>
        <translation>Read-only</translation>
    </message>
    <message>
        <source>隠しファイル</source>
        <translation>Hidden</translation>
    </message>
    <message>
        <source>システムファイル</source>
        <translation>System</translation>
    </message>
    <message>
        <source>アーカイブファイル</source>
        <translation>Archive</translation>
    </message>
    <message>
        <source>元の属性に追加</source>
        <translation>Add to the attributes</translation>
    </message>
    <message>
        <source>元の属性から削除</source>
        <translation>Remove from the attributes</translation>
    </message>
    <message>
        <source>属性の置き換え</source>
        <translation>Replace the attributes</translation>
    </message>
    <message>
        <source>属性変更結果のプレビュー</source>
        <translation>Preview the new attributes</translation>
    </message>
    <message>
        <source>属性変更の実行</source>
        <translation>Change the attributes</translation>
    </message>
    <message>
        <source>【変換形式】</source>
        <translation>Conversion</translation>
    </message>
    <message>
        <source>BMP  2 JPEG</source>
        <translation>BMP to JPEG</translation>
    </message>
    <message>
        <source>JPEG 2 BMP</source>
        <translation>JPEG to BMP</translation>
    </message>
    <message>
        <source>BMP  2 New JPEG</source>
        <translation>BMP to new JPEG</translation>
    </message>
    <message>
        <source>JPEG 2 New BMP</source>
        <translation>JPEG to new BMP</translation>
    </message>
    <message>
        <source>【Jpeg圧縮オプション】</source>
        <translation>JPEG options</translation>
    </message>
    <message>
        <source>圧縮レート：</source>
        <translation>Quality:</translation>
    </message>
    <message>
        <source>1% 低品質(高圧縮)---100% 高品質(低圧縮)</source>
        <translation>1% low quality (small file) --- 100% high quality (large file)</translation>
    </message>
    <message>
        <source>256色グレイスケール</source>
        <translation>256-level greyscale</translation>
    </message>
    <message>
        <source>256色モノクロ画像で保存</source>
        <translation>Save as a 256-level greyscale picture</translation>
    </message>
    <message>
        <source>プログレッシブ</source>
        <translation>Progressive</translation>
    </message>
    <message>
        <source>プログレッシブモードで保存</source>
        <translation>Save as a progressive JPEG</translation>
    </message>
    <message>
        <source>画像変換の実行</source>
        <translation>Convert the images</translation>
    </message>
    <message>
        <source>【プレビュー設定】</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>自動再生を行う</source>
        <translation>Play automatically</translation>
    </message>
    <message>
        <source>【表示設定】</source>
        <translation>View</translation>
    </message>
    <message>
        <source>隠しファイルは非表示</source>
        <translation>Hide hidden files</translation>
    </message>
    <message>
        <source>システムファイルは非表示</source>
        <translation>Hide system files</translation>
    </message>
    <message>
        <source>表示言語 / Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>自動 / Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Quorvane    【%1】</source>
        <translation>Quorvane [%1]</translation>
    </message>
    <message>
        <source>撮影日時がないため、日付を変更しません</source>
        <translation>No date taken: the times stay as they are</translation>
    </message>
    <message>
        <source>撮影日時順</source>
        <translation>Order by date taken</translation>
    </message>
    <message>
        <source>撮影日時に合わせる</source>
        <translation>Use the date taken</translation>
    </message>
    <message>
        <source>数字を数値として並べる</source>
        <translation>Sort numbers by their value</translation>
    </message>
    <message>
        <source>選んだ処理を取り消します</source>
        <translation>The chosen run will be undone</translation>
    </message>
    <message>
        <source>履歴</source>
        <translation>History</translation>
    </message>
</context>
</TS>
