<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>CAboutBox</name>
    <message>
        <source>About </source>
        <translation>О программе </translation>
    </message>
</context>
<context>
    <name>CColorButton</name>
    <message>
        <source>%1: red %2, green %3, blue %4</source>
        <translation>%1: красный %2, зелёный %3, синий %4</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Цвет</translation>
    </message>
</context>
<context>
    <name>CColorsPage</name>
    <message>
        <source>Colors</source>
        <translation>Цвета</translation>
    </message>
    <message>
        <source>Workspace color</source>
        <translation>Фон</translation>
    </message>
    <message>
        <source>Cube top color</source>
        <translation>Верх</translation>
    </message>
    <message>
        <source>Cube left color</source>
        <translation>Левая грань</translation>
    </message>
    <message>
        <source>Cube right color</source>
        <translation>Правая грань</translation>
    </message>
    <message>
        <source>Workspace background</source>
        <translation>Фон рабочей области</translation>
    </message>
    <message>
        <source>Top faces</source>
        <translation>Верхние грани</translation>
    </message>
    <message>
        <source>Right faces</source>
        <translation>Правые грани</translation>
    </message>
    <message>
        <source>Left faces</source>
        <translation>Левые грани</translation>
    </message>
</context>
<context>
    <name>CCommandLineExport</name>
    <message>
        <source>Draws impossible figures out of cubes in isometric projection.</source>
        <translation>Рисует невозможные фигуры из кубов в изометрической проекции.</translation>
    </message>
    <message>
        <source>Displays version and licence information.</source>
        <translation>Показывает версию и лицензию.</translation>
    </message>
    <message>
        <source>OUT</source>
        <translation>ВЫХОД</translation>
    </message>
    <message>
        <source>The figure file (.xml) to open.</source>
        <translation>Открываемый файл фигуры (.xml).</translation>
    </message>
    <message>
        <source>[FILE]</source>
        <translation>[ФАЙЛ]</translation>
    </message>
    <message>
        <source>License GPLv3+: GNU GPL version 3 or later &lt;https://gnu.org/licenses/gpl.html&gt;.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
</source>
        <translation>Лицензия GPLv3+: GNU GPL версии 3 или более поздней &lt;https://gnu.org/licenses/gpl.html&gt;.
Это свободное ПО: вы можете изменять и распространять его.
НЕТ НИКАКИХ ГАРАНТИЙ в пределах, допускаемых законом.
</translation>
    </message>
    <message>
        <source>--export needs the output file and exactly one figure file: tarvex --export OUT FILE</source>
        <translation>--export требует выходной файл и ровно один файл фигуры: tarvex --export ВЫХОД ФАЙЛ</translation>
    </message>
    <message>
        <source>The figure could not be saved to %1.
%2</source>
        <translation>Не удалось сохранить фигуру в %1.
%2</translation>
    </message>
    <message>
        <source>Figures are not read from standard input, only from regular files: save the figure to a file and name that file.</source>
        <translation>Фигуры не читаются со стандартного ввода, только из обычных файлов: сохраните фигуру в файл и укажите его.</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>ФАЙЛ</translation>
    </message>
    <message>
        <source>Loads FILE and writes it to OUT without opening a window, in the format OUT&apos;s extension names (any case): %1.</source>
        <translation>Загружает ФАЙЛ и без открытия окна записывает его в ВЫХОД в формате, который задаёт расширение ВЫХОДА (в любом регистре): %1.</translation>
    </message>
    <message>
        <source>With --export to %1: leaves the background transparent, so only the cubes are drawn.</source>
        <translation>С --export в %1: оставляет фон прозрачным, так что рисуются только кубы.</translation>
    </message>
    <message>
        <source>Writes a PNG preview of the figure file IN, at most SIZE pixels wide and high, to OUT without opening a window: tarvex --thumbnail SIZE IN OUT (as file managers do).</source>
        <translation>Записывает PNG-миниатюру файла фигуры IN, не более SIZE пикселей в ширину и высоту, в OUT, не открывая окна: tarvex --thumbnail SIZE IN OUT (так делают файловые менеджеры).</translation>
    </message>
    <message>
        <source>SIZE</source>
        <translation>SIZE</translation>
    </message>
</context>
<context>
    <name>CCubeConstructor</name>
    <message>
        <source>Cube constructor</source>
        <translation>Конструктор куба</translation>
    </message>
    <message>
        <source>Arrow keys choose a part of the cube, Enter or Space cuts or restores it</source>
        <translation>Стрелки выбирают часть куба, Enter или пробел срезает её или восстанавливает</translation>
    </message>
</context>
<context>
    <name>CCubeConstructorAccessible</name>
    <message>
        <source>Cube constructor</source>
        <translation>Конструктор куба</translation>
    </message>
    <message>
        <source>Centre: empty cube</source>
        <translation>Середина: пустой куб</translation>
    </message>
    <message>
        <source>Centre: whole cube</source>
        <translation>Середина: целый куб</translation>
    </message>
    <message>
        <source>Top corner</source>
        <translation>Верхний угол</translation>
    </message>
    <message>
        <source>Upper right corner</source>
        <translation>Правый верхний угол</translation>
    </message>
    <message>
        <source>Lower right corner</source>
        <translation>Правый нижний угол</translation>
    </message>
    <message>
        <source>Bottom corner</source>
        <translation>Нижний угол</translation>
    </message>
    <message>
        <source>Lower left corner</source>
        <translation>Левый нижний угол</translation>
    </message>
    <message>
        <source>Upper left corner</source>
        <translation>Левый верхний угол</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>cut</source>
        <translation>срезан</translation>
    </message>
    <message>
        <source>kept</source>
        <translation>на месте</translation>
    </message>
</context>
<context>
    <name>CCubeSelectionPage</name>
    <message>
        <source>Cubes</source>
        <translation>Кубы</translation>
    </message>
    <message>
        <source>Constructor</source>
        <translation>Конструктор</translation>
    </message>
    <message>
        <source>Cube pickers</source>
        <translation>Выбор куба</translation>
    </message>
</context>
<context>
    <name>CCubesLibrary</name>
    <message>
        <source>Cubes library</source>
        <translation>Библиотека кубов</translation>
    </message>
    <message>
        <source>Empty cube: erases</source>
        <translation>Пустой куб: стирает</translation>
    </message>
    <message>
        <source>Cube 0: whole cube, no corner cut</source>
        <translation>Куб 0: целый куб, углы не срезаны</translation>
    </message>
    <message>
        <source>top</source>
        <translation>верхний</translation>
    </message>
    <message>
        <source>upper right</source>
        <translation>правый верхний</translation>
    </message>
    <message>
        <source>lower right</source>
        <translation>правый нижний</translation>
    </message>
    <message>
        <source>bottom</source>
        <translation>нижний</translation>
    </message>
    <message>
        <source>lower left</source>
        <translation>левый нижний</translation>
    </message>
    <message>
        <source>upper left</source>
        <translation>левый верхний</translation>
    </message>
    <message>
        <source>Cube %1, cut corners: %2</source>
        <translation>Куб %1, срезанные углы: %2</translation>
    </message>
</context>
<context>
    <name>CDimensionsPage</name>
    <message>
        <source>Workspace dimensions</source>
        <translation>Размеры рабочей области</translation>
    </message>
    <message>
        <source>Cube dimensions</source>
        <translation>Размеры куба</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Ширина</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Высота</translation>
    </message>
    <message>
        <source>Cube size</source>
        <translation>Размер</translation>
    </message>
    <message>
        <source>From %1 to %2</source>
        <translation>От %1 до %2</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 – %2</translation>
    </message>
</context>
<context>
    <name>CDocumentCommands</name>
    <message>
        <source>Your figure not saved. Do you want to save it?</source>
        <translation>Ваша фигура не сохранена. Сохранить её?</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Предупреждение</translation>
    </message>
    <message>
        <source>Cannot open the file %1.
%2</source>
        <translation>Не удаётся открыть файл %1.
%2</translation>
    </message>
    <message>
        <source>The figure could not be saved to %1.
%2</source>
        <translation>Не удалось сохранить фигуру в %1.
%2</translation>
    </message>
    <message>
        <source>%1 has been changed by another program since Tarvex opened or saved it.
Overwrite it with this figure, save the figure elsewhere, or cancel?</source>
        <translation>Файл %1 был изменён другой программой после того, как Tarvex открыл или сохранил его.
Перезаписать его этой фигурой, сохранить фигуру в другое место или отменить?</translation>
    </message>
</context>
<context>
    <name>CExampleList</name>
    <message>
        <source>Impossible triangle</source>
        <translation>Невозможный треугольник</translation>
    </message>
    <message>
        <source>Three crossed beams</source>
        <translation>Три скрещённых бруса</translation>
    </message>
    <message>
        <source>Impossible square frame</source>
        <translation>Невозможная квадратная рамка</translation>
    </message>
    <message>
        <source>Woven frame</source>
        <translation>Плетёная рамка</translation>
    </message>
    <message>
        <source>Impossible cube frame</source>
        <translation>Невозможный каркас куба</translation>
    </message>
    <message>
        <source>Woven star</source>
        <translation>Плетёная звезда</translation>
    </message>
    <message>
        <source>Impossible hexagonal star</source>
        <translation>Невозможная шестиконечная звезда</translation>
    </message>
    <message>
        <source>Nested triangles</source>
        <translation>Вложенные треугольники</translation>
    </message>
    <message>
        <source>Penrose stairs</source>
        <translation>Лестница Пенроуза</translation>
    </message>
</context>
<context>
    <name>CFigure</name>
    <message>
        <source>There&apos;s no blocks at the workspace so it is impossible to save empty image.</source>
        <translation>В рабочей области нет кубов, поэтому сохранить пустое изображение невозможно.</translation>
    </message>
</context>
<context>
    <name>CFigureGenerator</name>
    <message>
        <source>Impossible tribar</source>
        <translation>Невозможный треугольник</translation>
    </message>
    <message>
        <source>Penrose stairs</source>
        <translation>Лестница Пенроуза</translation>
    </message>
    <message>
        <source>Impossible cube frame</source>
        <translation>Невозможный каркас куба</translation>
    </message>
    <message>
        <source>Impossible frame with N sides</source>
        <translation>Невозможная рамка с N сторонами</translation>
    </message>
    <message>
        <source>Reutersvärd&apos;s triangle</source>
        <translation>Треугольник Рутерсварда</translation>
    </message>
    <message>
        <source>Side length:</source>
        <translation>Длина стороны:</translation>
    </message>
    <message>
        <source>Steps per side:</source>
        <translation>Ступеней на сторону:</translation>
    </message>
    <message>
        <source>Edge length:</source>
        <translation>Длина ребра:</translation>
    </message>
    <message>
        <source>Side:</source>
        <translation>Сторона:</translation>
    </message>
    <message>
        <source>Cubes per side:</source>
        <translation>Кубиков на сторону:</translation>
    </message>
</context>
<context>
    <name>CFigureWriter</name>
    <message>
        <source>Tarvex figure</source>
        <translation>Фигура Tarvex</translation>
    </message>
    <message>
        <source>The figure with its sizes and colours, for opening in Tarvex again.</source>
        <translation>Фигура с её размерами и цветами, чтобы снова открыть её в Tarvex.</translation>
    </message>
    <message>
        <source>PNG picture</source>
        <translation>Изображение PNG</translation>
    </message>
    <message>
        <source>A compressed picture for web pages, slides and documents: the same pixels as the bitmap in a small file.</source>
        <translation>Сжатое изображение для веб-страниц, слайдов и документов: те же пиксели, что и в точечном рисунке, в маленьком файле.</translation>
    </message>
    <message>
        <source>SVG drawing</source>
        <translation>Рисунок SVG</translation>
    </message>
    <message>
        <source>A vector drawing for browsers and drawing programs; it scales to any size without pixels.</source>
        <translation>Векторный рисунок для браузеров и графических редакторов; масштабируется до любого размера без пикселей.</translation>
    </message>
    <message>
        <source>PDF document</source>
        <translation>Документ PDF</translation>
    </message>
    <message>
        <source>A vector page exactly the size of the figure, for printing and publishing.</source>
        <translation>Векторная страница точно по размеру фигуры, для печати и публикации.</translation>
    </message>
    <message>
        <source>Windows bitmap</source>
        <translation>Точечный рисунок Windows</translation>
    </message>
    <message>
        <source>An uncompressed 24-bit picture, as earlier versions of Tarvex wrote it.</source>
        <translation>Несжатое 24-битное изображение, как его записывали прежние версии Tarvex.</translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <translation>%1 или %2</translation>
    </message>
    <message>
        <source>Tarvex cannot save files without an extension. Choose %1.</source>
        <translation>Tarvex не может сохранять файлы без расширения. Выберите %1.</translation>
    </message>
    <message>
        <source>Tarvex cannot save files of type .%1. Choose %2.</source>
        <translation>Tarvex не может сохранять файлы типа .%1. Выберите %2.</translation>
    </message>
</context>
<context>
    <name>CFigureXml</name>
    <message>
        <source>%1 is %2; it must lie between %3 and %4.</source>
        <translation>%1 равно %2; значение должно лежать в пределах от %3 до %4.</translation>
    </message>
    <message>
        <source>The text is not a well-formed figure file.</source>
        <translation>Текст не является правильно составленным файлом фигуры.</translation>
    </message>
    <message>
        <source>The file was not written by Tarvex.</source>
        <translation>Файл записан не программой Tarvex.</translation>
    </message>
    <message>
        <source>The file&apos;s version is not supported (only 1.0 is).</source>
        <translation>Версия файла не поддерживается (поддерживается только 1.0).</translation>
    </message>
    <message>
        <source>%1 is not a well-formed figure file.</source>
        <translation>%1 не является правильно составленным файлом фигуры.</translation>
    </message>
</context>
<context>
    <name>CFileException</name>
    <message>
        <source>Out of memory.</source>
        <translation>Недостаточно памяти.</translation>
    </message>
</context>
<context>
    <name>CGeneratorDialog</name>
    <message>
        <source>New from generator</source>
        <translation>Новая из генератора</translation>
    </message>
    <message>
        <source>Figure:</source>
        <translation>Фигура:</translation>
    </message>
    <message>
        <source>Sides:</source>
        <translation>Сторон:</translation>
    </message>
    <message>
        <source>Step height:</source>
        <translation>Высота ступени:</translation>
    </message>
    <message>
        <source>Beam thickness:</source>
        <translation>Толщина балки:</translation>
    </message>
    <message>
        <source>The figure does not fit the largest grid.</source>
        <translation>Фигура не помещается в самую большую сетку.</translation>
    </message>
</context>
<context>
    <name>CHelpFrame</name>
    <message>
        <source>Tarvex help</source>
        <translation>Справка Tarvex</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Вперёд</translation>
    </message>
    <message>
        <source>Navigation</source>
        <translation>Навигация</translation>
    </message>
</context>
<context>
    <name>CHtmlCtrl</name>
    <message>
        <source>Page not found</source>
        <translation>Страница не найдена</translation>
    </message>
    <message>
        <source>The page %1 cannot be found.</source>
        <translation>Страница %1 не найдена.</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Transparent background (PNG and SVG)</source>
        <translation>Прозрачный фон (PNG и SVG)</translation>
    </message>
    <message>
        <source>Select and move cubes
Select and move</source>
        <translation>Выделить и переместить кубы
Выделить и переместить</translation>
    </message>
    <message>
        <source>Create a new figure
New figure</source>
        <translation>Создать новую фигуру
Новая фигура</translation>
    </message>
    <message>
        <source>Save as BMP or WMF
Save figure</source>
        <translation>Сохранить как BMP или WMF
Сохранить фигуру</translation>
    </message>
    <message>
        <source>Preview and print
Preview and print</source>
        <translation>Просмотр и печать
Просмотр и печать</translation>
    </message>
    <message>
        <source>Options of the program
Options</source>
        <translation>Параметры программы
Параметры</translation>
    </message>
    <message>
        <source>Undo the last action
Undo</source>
        <translation>Отменить последнее действие
Отменить</translation>
    </message>
    <message>
        <source>Redo the previously undone action
Redo</source>
        <translation>Повторить отменённое действие
Повторить</translation>
    </message>
    <message>
        <source>Help
Help</source>
        <translation>Справка
Справка</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright
About</source>
        <translation>Показать сведения о программе, номер версии и авторские права
О программе</translation>
    </message>
    <message>
        <source>XML files (*.xml)</source>
        <translation>Файлы XML (*.xml)</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Восстановить</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Отбросить</translation>
    </message>
    <message>
        <source>Recent figures and examples</source>
        <translation>Недавние фигуры и примеры</translation>
    </message>
    <message>
        <source>Open a figure worked on lately, or an example</source>
        <translation>Открыть недавно изменённую фигуру или пример</translation>
    </message>
    <message>
        <source>The figure file %1 cannot be found. It is taken off the list of recent figures.</source>
        <translation>Файл фигуры %1 не найден. Он удалён из списка недавних фигур.</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Панель инструментов</translation>
    </message>
    <message>
        <source>Open a figure file
Open figure</source>
        <translation>Открыть файл фигуры
Открыть фигуру</translation>
    </message>
    <message>
        <source>Beam thickness in cubes (keys 1, 2, 3)</source>
        <translation>Толщина балки в кубах (клавиши 1, 2, 3)</translation>
    </message>
    <message>
        <source>Beam thickness</source>
        <translation>Толщина балки</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Перезаписать</translation>
    </message>
    <message>
        <source>Save &amp;Elsewhere...</source>
        <translation>Сохранить в &amp;другое место...</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Отразить</translation>
    </message>
    <message>
        <source>Mirror the selected cubes (M); R and Shift+R turn them a third of a turn</source>
        <translation>Отразить выбранные кубики (M); R и Shift+R поворачивают их на треть оборота</translation>
    </message>
    <message>
        <source>Generator...</source>
        <translation>Генератор...</translation>
    </message>
    <message>
        <source>New from generator: a classic impossible figure made from its sizes</source>
        <translation>Новая из генератора: классическая невозможная фигура по её размерам</translation>
    </message>
    <message>
        <source>More toolbar controls</source>
        <translation>Другие элементы панели инструментов</translation>
    </message>
    <message>
        <source>Box</source>
        <translation>Блок</translation>
    </message>
    <message>
        <source>Box tool: drag out a box of cubes, with Shift its height (B)</source>
        <translation>Инструмент «Блок»: растянуть блок из кубов, с Shift — его высоту (B)</translation>
    </message>
    <message>
        <source>The clipboard holds more cubes than a figure can take. Nothing was pasted.</source>
        <translation>В буфере обмена больше кубиков, чем может вместить фигура. Ничего не вставлено.</translation>
    </message>
    <message>
        <source>The cubes on the clipboard cannot be read. Nothing was pasted.</source>
        <translation>Не удаётся прочитать кубики из буфера обмена. Ничего не вставлено.</translation>
    </message>
</context>
<context>
    <name>COptionsDlg</name>
    <message>
        <source>Options</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>Размеры</translation>
    </message>
    <message>
        <source>Colors</source>
        <translation>Цвета</translation>
    </message>
    <message>
        <source>Default settings</source>
        <translation>По умолчанию</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
</context>
<context>
    <name>CPaletteStrip</name>
    <message>
        <source>Palette</source>
        <translation>Палитра</translation>
    </message>
    <message>
        <source>Click a colouring to paint with it, double-click to edit it</source>
        <translation>Щёлкните окраску, чтобы рисовать ею; двойной щелчок — изменить её</translation>
    </message>
    <message>
        <source>Three colours...</source>
        <translation>Три цвета...</translation>
    </message>
    <message>
        <source>Shade from one colour...</source>
        <translation>Оттенки одного цвета...</translation>
    </message>
    <message>
        <source>Add a colouring</source>
        <translation>Добавить окраску</translation>
    </message>
    <message>
        <source>Colouring %1: click to paint with it, double-click to edit it</source>
        <translation>Окраска %1: щёлкните, чтобы рисовать ею; двойной щелчок — изменить её</translation>
    </message>
    <message>
        <source>Top face</source>
        <translation>Верхняя грань</translation>
    </message>
    <message>
        <source>Right-hand face</source>
        <translation>Правая грань</translation>
    </message>
    <message>
        <source>Left-hand face</source>
        <translation>Левая грань</translation>
    </message>
    <message>
        <source>Shade from one colour</source>
        <translation>Оттенки одного цвета</translation>
    </message>
    <message>
        <source>Colouring %1, the palette holds %2</source>
        <translation>Раскраска %1, в палитре %2</translation>
    </message>
</context>
<context>
    <name>CPngExport</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Не удаётся записать %1: %2</translation>
    </message>
</context>
<context>
    <name>CRecentMenu</name>
    <message>
        <source>&amp;Examples</source>
        <translation>П&amp;римеры</translation>
    </message>
    <message>
        <source>No recent figures</source>
        <translation>Нет недавних фигур</translation>
    </message>
    <message>
        <source>&amp;Clear the list</source>
        <translation>&amp;Очистить список</translation>
    </message>
</context>
<context>
    <name>CRecoveryManager</name>
    <message>
        <source>The folder %1 cannot be used.</source>
        <translation>Папку %1 нельзя использовать.</translation>
    </message>
    <message>
        <source>The recovery copy of the figure could not be written; this is not said again.
%1</source>
        <translation>Не удалось записать резервную копию фигуры; это сообщение больше не появится.
%1</translation>
    </message>
    <message>
        <source>Tarvex was closed without saving a figure. Restore it?</source>
        <translation>Tarvex был закрыт без сохранения фигуры. Восстановить её?</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Не удаётся создать папку %1.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made: %2</source>
        <translation>Не удаётся создать папку %1: %2</translation>
    </message>
    <message>
        <source>%1 is a link or not a folder.</source>
        <translation>%1 — ссылка или не папка.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be opened: %2</source>
        <translation>Не удаётся открыть папку %1: %2</translation>
    </message>
    <message>
        <source>The folder %1 does not belong to you.</source>
        <translation>Папка %1 принадлежит не вам.</translation>
    </message>
    <message>
        <source>Tarvex cannot keep recovery copies of unsaved figures in %1, so it works without them: save your figure yourself.
%2</source>
        <translation>Tarvex не может хранить копии для восстановления несохранённых фигур в %1 и работает без них: сохраняйте фигуру сами.
%2</translation>
    </message>
    <message>
        <source>%1 is not a regular file of yours: the recovery copy is not written.</source>
        <translation>%1 — не ваш обычный файл: копия для восстановления не записывается.</translation>
    </message>
</context>
<context>
    <name>CRegularFile</name>
    <message>
        <source>a pipe</source>
        <translation>канал</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>устройство</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>папка</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>сокет</translation>
    </message>
    <message>
        <source>a special file</source>
        <translation>специальный файл</translation>
    </message>
    <message>
        <source>%1 is %2, not a regular file; figures are read only from regular files.</source>
        <translation>%1 — это %2, а не обычный файл; фигуры читаются только из обычных файлов.</translation>
    </message>
    <message>
        <source>%1 is %2, not a regular file: nothing was written and it is left as it is.</source>
        <translation>%1 — это %2, а не обычный файл: ничего не записано, он оставлен как есть.</translation>
    </message>
    <message>
        <source>a symbolic link</source>
        <translation>символическая ссылка</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Не удаётся открыть %1: %2</translation>
    </message>
    <message>
        <source>%1 is too large to be a figure file.</source>
        <translation>%1 слишком велик для файла фигуры.</translation>
    </message>
    <message>
        <source>Cannot read %1: it is not open</source>
        <translation>Не удаётся прочитать %1: файл не открыт</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Не удаётся прочитать %1: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: it is not open</source>
        <translation>Не удаётся записать %1: файл не открыт</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Не удаётся записать %1: %2</translation>
    </message>
    <message>
        <source>Not all data could be written; the disk may be full</source>
        <translation>Не все данные удалось записать; возможно, диск заполнен</translation>
    </message>
    <message>
        <source>The name %1 is not valid UTF-8 text: Tarvex cannot tell which file it names, so it neither reads nor writes it.</source>
        <translation>Имя %1 не является корректным текстом UTF-8: Tarvex не может определить, какой файл оно обозначает, поэтому не читает и не записывает его.</translation>
    </message>
</context>
<context>
    <name>CSafeFileWriter</name>
    <message>
        <source>Cannot create %1: %2</source>
        <translation>Не удаётся создать %1: %2</translation>
    </message>
    <message>
        <source>Not all data could be written; the disk may be full</source>
        <translation>Не все данные удалось записать; возможно, диск заполнен</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Не удаётся записать %1: %2</translation>
    </message>
</context>
<context>
    <name>CSettingsStore</name>
    <message>
        <source>The settings file %1 is %2, not a regular file. Tarvex starts with the default settings and does not keep changes to them.</source>
        <translation>Файл настроек %1 — %2, а не обычный файл. Tarvex запускается с настройками по умолчанию и не сохраняет их изменения.</translation>
    </message>
</context>
<context>
    <name>CTarvexDoc</name>
    <message>
        <source>Error loading XML file</source>
        <translation>Ошибка загрузки файла XML</translation>
    </message>
</context>
<context>
    <name>CTarvexView</name>
    <message>
        <source>Workspace</source>
        <translation>Рабочая область</translation>
    </message>
</context>
<context>
    <name>CTarvexViewAccessible</name>
    <message>
        <source>Workspace</source>
        <translation>Рабочая область</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>пусто</translation>
    </message>
    <message>
        <source>cube 0, whole</source>
        <translation>куб 0, целый</translation>
    </message>
    <message>
        <source>top</source>
        <translation>верхний</translation>
    </message>
    <message>
        <source>upper right</source>
        <translation>правый верхний</translation>
    </message>
    <message>
        <source>lower right</source>
        <translation>правый нижний</translation>
    </message>
    <message>
        <source>bottom</source>
        <translation>нижний</translation>
    </message>
    <message>
        <source>lower left</source>
        <translation>левый нижний</translation>
    </message>
    <message>
        <source>upper left</source>
        <translation>левый верхний</translation>
    </message>
    <message>
        <source>cube %1, cut corners: %2</source>
        <translation>куб %1, срезанные углы: %2</translation>
    </message>
    <message>
        <source>column %1, row %2: %3</source>
        <translation>столбец %1, строка %2: %3</translation>
    </message>
    <message>
        <source>, selected</source>
        <translation>, выделен</translation>
    </message>
    <message>
        <source>Figure of %1 × %2 cells, cubes: %3</source>
        <translation>Фигура %1 × %2 ячеек, кубов: %3</translation>
    </message>
    <message>
        <source>; select-and-move mode, selected: %1</source>
        <translation>; режим выделения и перемещения, выделено: %1</translation>
    </message>
</context>
<context>
    <name>CThumbnailer</name>
    <message>
        <source>The preview size must be a number from 1 to %1.</source>
        <translation>Размер эскиза должен быть числом от 1 до %1.</translation>
    </message>
    <message>
        <source>The preview could not be drawn.</source>
        <translation>Не удалось нарисовать эскиз.</translation>
    </message>
    <message>
        <source>The preview could not be saved to %1.
%2</source>
        <translation>Не удалось сохранить эскиз в %1.
%2</translation>
    </message>
    <message>
        <source>--thumbnail needs the size, the figure file and the output file: tarvex --thumbnail SIZE IN OUT</source>
        <translation>--thumbnail требует размер, файл фигуры и выходной файл: tarvex --thumbnail РАЗМЕР ВХОД ВЫХОД</translation>
    </message>
</context>
<context>
    <name>CUpDown</name>
    <message>
        <source>%1: up</source>
        <translation>%1: больше</translation>
    </message>
    <message>
        <source>%1: down</source>
        <translation>%1: меньше</translation>
    </message>
</context>
<context>
    <name>CVectorExport</name>
    <message>
        <source>Out of memory.</source>
        <translation>Недостаточно памяти.</translation>
    </message>
    <message>
        <source>Cannot write %1.</source>
        <translation>Не удаётся записать %1.</translation>
    </message>
</context>
<context>
    <name>CXmlElement</name>
    <message>
        <source>The element %1 is missing.</source>
        <translation>Отсутствует элемент %1.</translation>
    </message>
    <message>
        <source>%1 is not a well-formed figure file.</source>
        <translation>%1 не является правильно составленным файлом фигуры.</translation>
    </message>
    <message>
        <source>The file has more than %1 elements and attributes; no figure has that many.</source>
        <translation>В файле больше %1 элементов и атрибутов; столько не бывает ни в одной фигуре.</translation>
    </message>
</context>
<context>
    <name>CZoomBox</name>
    <message>
        <source>Fit</source>
        <translation>По окну</translation>
    </message>
    <message>
        <source>Zoom: Ctrl+wheel, Ctrl++ and Ctrl+- step through the levels, Ctrl+0 shows 100 %, Ctrl+9 fits the window. Type a value from %1 to %2 %.</source>
        <translation>Масштаб: Ctrl+колесо, Ctrl++ и Ctrl+- переключают ступени, Ctrl+0 — 100 %, Ctrl+9 — по размеру окна. Введите значение от %1 до %2 %.</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Масштаб</translation>
    </message>
</context>
</TS>
