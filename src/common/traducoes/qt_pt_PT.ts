<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_PT">
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Drive</source>
        <translation>Unidade</translation>
    </message>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>Pasta</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Desconhecido</translation>
    </message>
</context>
<context>
    <name>QAbstractSpinBox</name>
    <message>
        <source>&amp;Select All</source>
        <translation>&amp;Seleccionar tudo</translation>
    </message>
    <message>
        <source>&amp;Step up</source>
        <translation>&amp;Aumentar</translation>
    </message>
    <message>
        <source>Step &amp;down</source>
        <translation>&amp;Diminuir</translation>
    </message>
</context>
<context>
    <name>QCupsJobWidget</name>
    <message>
        <source>Job</source>
        <translation>Trabalho</translation>
    </message>
    <message>
        <source>Job Control</source>
        <translation>Controlo do trabalho</translation>
    </message>
    <message>
        <source>Scheduled printing:</source>
        <translation>Impressão agendada:</translation>
    </message>
    <message>
        <source>Billing information:</source>
        <translation>Informação para facturação:</translation>
    </message>
    <message>
        <source>Job priority:</source>
        <translation>Prioridade do trabalho:</translation>
    </message>
    <message>
        <source>Banner Pages</source>
        <translation>Páginas de separação</translation>
    </message>
    <message>
        <source>End:</source>
        <comment>Banner page at end</comment>
        <translation>Fim:</translation>
    </message>
    <message>
        <source>Start:</source>
        <comment>Banner page at start</comment>
        <translation>Início:</translation>
    </message>
    <message>
        <source>Print Immediately</source>
        <translation>Imprimir imediatamente</translation>
    </message>
    <message>
        <source>Hold Indefinitely</source>
        <translation>Reter indefinidamente</translation>
    </message>
    <message>
        <source>Day (06:00 to 17:59)</source>
        <translation>Dia (06:00 às 17:59)</translation>
    </message>
    <message>
        <source>Night (18:00 to 05:59)</source>
        <translation>Noite (18:00 às 05:59)</translation>
    </message>
    <message>
        <source>Second Shift (16:00 to 23:59)</source>
        <translation>Segundo turno (16:00 às 23:59)</translation>
    </message>
    <message>
        <source>Third Shift (00:00 to 07:59)</source>
        <translation>Terceiro turno (00:00 às 07:59)</translation>
    </message>
    <message>
        <source>Weekend (Saturday to Sunday)</source>
        <translation>Fim-de-semana (sábado e domingo)</translation>
    </message>
    <message>
        <source>Specific Time</source>
        <translation>À hora indicada</translation>
    </message>
    <message>
        <source>None</source>
        <comment>CUPS Banner page</comment>
        <translation>Nenhuma</translation>
    </message>
    <message>
        <source>Standard</source>
        <comment>CUPS Banner page</comment>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Unclassified</source>
        <comment>CUPS Banner page</comment>
        <translation>Não classificado</translation>
    </message>
    <message>
        <source>Confidential</source>
        <comment>CUPS Banner page</comment>
        <translation>Confidencial</translation>
    </message>
    <message>
        <source>Classified</source>
        <comment>CUPS Banner page</comment>
        <translation>Classificado</translation>
    </message>
    <message>
        <source>Secret</source>
        <comment>CUPS Banner page</comment>
        <translation>Secreto</translation>
    </message>
    <message>
        <source>Top Secret</source>
        <comment>CUPS Banner page</comment>
        <translation>Ultra-secreto</translation>
    </message>
</context>
<context>
    <name>QCupsPrinterSupport</name>
    <message>
        <source>Authentication Needed</source>
        <translation>Autenticação necessária</translation>
    </message>
    <message>
        <source>Authentication needed to use %1.</source>
        <translation>É preciso autenticar-se para usar %1.</translation>
    </message>
    <message>
        <source>Authentication needed to use %1 on %2.</source>
        <translation>É preciso autenticar-se para usar %1 em %2.</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Nome de utilizador:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Palavra-passe:</translation>
    </message>
</context>
<context>
    <name>QDialogButtonBox</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Look in:</source>
        <translation>Procurar em:</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Recuar</translation>
    </message>
    <message>
        <source>Go back</source>
        <translation>Recuar</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Avançar</translation>
    </message>
    <message>
        <source>Go forward</source>
        <translation>Avançar</translation>
    </message>
    <message>
        <source>Alt+Left</source>
        <translation>Alt+Left</translation>
    </message>
    <message>
        <source>Alt+Right</source>
        <translation>Alt+Right</translation>
    </message>
    <message>
        <source>Alt+Up</source>
        <translation>Alt+Up</translation>
    </message>
    <message>
        <source>Parent Directory</source>
        <translation>Pasta acima</translation>
    </message>
    <message>
        <source>Go to the parent directory</source>
        <translation>Ir para a pasta acima</translation>
    </message>
    <message>
        <source>Create New Folder</source>
        <translation>Criar nova pasta</translation>
    </message>
    <message>
        <source>Create a New Folder</source>
        <translation>Criar uma nova pasta</translation>
    </message>
    <message>
        <source>List View</source>
        <translation>Lista</translation>
    </message>
    <message>
        <source>Change to list view mode</source>
        <translation>Mostrar em lista</translation>
    </message>
    <message>
        <source>Detail View</source>
        <translation>Detalhes</translation>
    </message>
    <message>
        <source>Change to detail view mode</source>
        <translation>Mostrar com detalhes</translation>
    </message>
    <message>
        <source>Sidebar</source>
        <translation>Barra lateral</translation>
    </message>
    <message>
        <source>List of places and bookmarks</source>
        <translation>Lista de locais e marcadores</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Ficheiros</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>Ficheiros do tipo:</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>&amp;Nome do ficheiro:</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Abrir</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Guardar como</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Todos os ficheiros (*)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos os ficheiros (*)</translation>
    </message>
    <message>
        <source>Show </source>
        <translation>Mostrar </translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Mudar o nome</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Eliminar</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>Show &amp;hidden files</source>
        <translation>Mostrar ficheiros &amp;ocultos</translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>&amp;Nova pasta</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Nova pasta</translation>
    </message>
    <message>
        <source>Directories</source>
        <translation>Pastas</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>Pasta:</translation>
    </message>
    <message>
        <source>&amp;Choose</source>
        <translation>&amp;Escolher</translation>
    </message>
    <message>
        <source>Find Directory</source>
        <translation>Procurar pasta</translation>
    </message>
    <message>
        <source>Recent Places</source>
        <translation>Locais recentes</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>O meu computador</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remover</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Desconhecido</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Pasta</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Ficheiro</translation>
    </message>
    <message>
        <source>File Folder</source>
        <translation>Pasta de ficheiros</translation>
    </message>
    <message>
        <source>Alias</source>
        <translation>Nome alternativo</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation>Atalho</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Unidade</translation>
    </message>
    <message>
        <source>%1 File</source>
        <translation>Ficheiro %1</translation>
    </message>
    <message>
        <source>Are you sure you want to delete &apos;%1&apos;?</source>
        <translation>Tem a certeza de que quer eliminar &apos;%1&apos;?</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is write protected.
Do you want to delete it anyway?</source>
        <translation>&apos;%1&apos; está protegido contra escrita.
Quer eliminá-lo mesmo assim?</translation>
    </message>
    <message>
        <source>Could not delete directory.</source>
        <translation>Não foi possível eliminar a pasta.</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 já existe.
Quer substituí-lo?</translation>
    </message>
    <message>
        <source>%1
Directory not found.
Please verify the correct directory name was given.</source>
        <translation>%1
Pasta não encontrada.
Verifique se o nome da pasta está certo.</translation>
    </message>
    <message>
        <source>%1
File not found.
Please verify the correct file name was given.</source>
        <translation>%1
Ficheiro não encontrado.
Verifique se o nome do ficheiro está certo.</translation>
    </message>
</context>
<context>
    <name>QFileSystemModel</name>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamanho</translation>
    </message>
    <message>
        <source>Type</source>
        <comment>All other platforms</comment>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Kind</source>
        <comment>Match OS X Finder</comment>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>Data de modificação</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>Computador</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>O meu computador</translation>
    </message>
    <message>
        <source>Invalid filename</source>
        <translation>Nome de ficheiro inválido</translation>
    </message>
    <message>
        <source>&lt;b&gt;The name &quot;%1&quot; cannot be used.&lt;/b&gt;&lt;p&gt;Try using another name, with fewer characters or no punctuation marks.</source>
        <translation>&lt;b&gt;O nome &quot;%1&quot; não pode ser usado.&lt;/b&gt;&lt;p&gt;Experimente outro nome, com menos caracteres ou sem sinais de pontuação.</translation>
    </message>
</context>
<context>
    <name>QInputDialog</name>
    <message>
        <source>Enter a value:</source>
        <translation>Introduza um valor:</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Anular</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Refazer</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Cor&amp;tar</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>C&amp;olar</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Seleccionar tudo</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Show Details...</source>
        <translation>Mostrar detalhes...</translation>
    </message>
    <message>
        <source>Hide Details...</source>
        <translation>Esconder detalhes...</translation>
    </message>
</context>
<context>
    <name>QPageSetupWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>Papel</translation>
    </message>
    <message>
        <source>Page size:</source>
        <translation>Tamanho da página:</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Largura:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Altura:</translation>
    </message>
    <message>
        <source>Paper source:</source>
        <translation>Alimentação do papel:</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientação</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Vertical</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>Reverse landscape</source>
        <translation>Horizontal invertida</translation>
    </message>
    <message>
        <source>Reverse portrait</source>
        <translation>Vertical invertida</translation>
    </message>
    <message>
        <source>Margins</source>
        <translation>Margens</translation>
    </message>
    <message>
        <source>top margin</source>
        <translation>margem superior</translation>
    </message>
    <message>
        <source>left margin</source>
        <translation>margem esquerda</translation>
    </message>
    <message>
        <source>right margin</source>
        <translation>margem direita</translation>
    </message>
    <message>
        <source>bottom margin</source>
        <translation>margem inferior</translation>
    </message>
    <message>
        <source>Page Layout</source>
        <translation>Disposição das páginas</translation>
    </message>
    <message>
        <source>Page order:</source>
        <translation>Ordem das páginas:</translation>
    </message>
    <message>
        <source>Pages per sheet:</source>
        <translation>Páginas por folha:</translation>
    </message>
    <message>
        <source>Millimeters (mm)</source>
        <translation>Milímetros (mm)</translation>
    </message>
    <message>
        <source>Inches (in)</source>
        <translation>Polegadas (pol)</translation>
    </message>
    <message>
        <source>in</source>
        <translation>pol</translation>
    </message>
    <message>
        <source>Points (pt)</source>
        <translation>Pontos (pt)</translation>
    </message>
    <message>
        <source>Pica (P̸)</source>
        <translation>Paica (P̸)</translation>
    </message>
    <message>
        <source>Didot (DD)</source>
        <translation>Didot (DD)</translation>
    </message>
    <message>
        <source>Cicero (CC)</source>
        <translation>Cícero (CC)</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Personalizado</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>pt</source>
        <translation>pt</translation>
    </message>
    <message>
        <source>P̸</source>
        <translation>P̸</translation>
    </message>
    <message>
        <source>DD</source>
        <translation>DD</translation>
    </message>
    <message>
        <source>CC</source>
        <translation>CC</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>Guardar tudo</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Sim</translation>
    </message>
    <message>
        <source>Yes to &amp;All</source>
        <translation>Sim a &amp;tudo</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Não</translation>
    </message>
    <message>
        <source>N&amp;o to All</source>
        <translation>Nã&amp;o a tudo</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abortar</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Tentar de novo</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Ignorar</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Descartar</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ajuda</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Repor</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Repor predefinições</translation>
    </message>
    <message>
        <source>Close without Saving</source>
        <translation>Fechar sem guardar</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Imprimir</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Options &gt;&gt;</source>
        <translation>&amp;Opções &gt;&gt;</translation>
    </message>
    <message>
        <source>&amp;Options &lt;&lt;</source>
        <translation>&amp;Opções &lt;&lt;</translation>
    </message>
    <message>
        <source>Print to File (PDF)</source>
        <translation>Imprimir para ficheiro (PDF)</translation>
    </message>
    <message>
        <source>Print To File ...</source>
        <translation>Imprimir para ficheiro...</translation>
    </message>
    <message>
        <source>Local file</source>
        <translation>Ficheiro local</translation>
    </message>
    <message>
        <source>Write PDF file</source>
        <translation>Escrever ficheiro PDF</translation>
    </message>
    <message>
        <source>All Pages</source>
        <translation>Todas as páginas</translation>
    </message>
    <message>
        <source>Odd Pages</source>
        <translation>Páginas ímpares</translation>
    </message>
    <message>
        <source>Even Pages</source>
        <translation>Páginas pares</translation>
    </message>
    <message>
        <source>Left to Right, Top to Bottom</source>
        <translation>Da esquerda para a direita, de cima para baixo</translation>
    </message>
    <message>
        <source>Left to Right, Bottom to Top</source>
        <translation>Da esquerda para a direita, de baixo para cima</translation>
    </message>
    <message>
        <source>Right to Left, Bottom to Top</source>
        <translation>Da direita para a esquerda, de baixo para cima</translation>
    </message>
    <message>
        <source>Right to Left, Top to Bottom</source>
        <translation>Da direita para a esquerda, de cima para baixo</translation>
    </message>
    <message>
        <source>Bottom to Top, Left to Right</source>
        <translation>De baixo para cima, da esquerda para a direita</translation>
    </message>
    <message>
        <source>Bottom to Top, Right to Left</source>
        <translation>De baixo para cima, da direita para a esquerda</translation>
    </message>
    <message>
        <source>Top to Bottom, Left to Right</source>
        <translation>De cima para baixo, da esquerda para a direita</translation>
    </message>
    <message>
        <source>Top to Bottom, Right to Left</source>
        <translation>De cima para baixo, da direita para a esquerda</translation>
    </message>
    <message>
        <source>1 (1x1)</source>
        <translation>1 (1x1)</translation>
    </message>
    <message>
        <source>2 (2x1)</source>
        <translation>2 (2x1)</translation>
    </message>
    <message>
        <source>4 (2x2)</source>
        <translation>4 (2x2)</translation>
    </message>
    <message>
        <source>6 (2x3)</source>
        <translation>6 (2x3)</translation>
    </message>
    <message>
        <source>9 (3x3)</source>
        <translation>9 (3x3)</translation>
    </message>
    <message>
        <source>16 (4x4)</source>
        <translation>16 (4x4)</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to overwrite it?</source>
        <translation>%1 já existe.
Quer substituí-lo?</translation>
    </message>
    <message>
        <source>%1 is a directory.
Please choose a different file name.</source>
        <translation>%1 é uma pasta.
Escolha outro nome de ficheiro.</translation>
    </message>
    <message>
        <source>File %1 is not writable.
Please choose a different file name.</source>
        <translation>Não é possível escrever no ficheiro %1.
Escolha outro nome de ficheiro.</translation>
    </message>
    <message>
        <source>Invalid Pages Definition</source>
        <translation>Páginas mal indicadas</translation>
    </message>
    <message>
        <source>%1 does not follow the correct syntax. Please use &apos;,&apos; to separate ranges and pages, &apos;-&apos; to define ranges and make sure ranges do not intersect with each other.</source>
        <translation>%1 não está escrito correctamente. Separe páginas e intervalos com &apos;,&apos;, indique cada intervalo com &apos;-&apos; e não deixe que os intervalos se sobreponham.</translation>
    </message>
    <message>
        <source>The &apos;From&apos; value cannot be greater than the &apos;To&apos; value.</source>
        <translation>A primeira página não pode ser maior do que a última.</translation>
    </message>
    <message>
        <source>Duplex Settings Conflicts</source>
        <translation>Conflito na impressão em frente e verso</translation>
    </message>
    <message>
        <source>There are conflicts in duplex settings. Do you want to fix them?</source>
        <translation>Há opções de impressão em frente e verso incompatíveis. Quer corrigi-las?</translation>
    </message>
    <message>
        <source>Options &apos;Pages Per Sheet&apos; and &apos;Page Set&apos; cannot be used together.
Please turn one of those options off.</source>
        <translation>As opções &apos;Páginas por folha&apos; e &apos;Conjunto de páginas&apos; não podem ser usadas ao mesmo tempo.
Desligue uma delas.</translation>
    </message>
</context>
<context>
    <name>QPrintPreviewDialog</name>
    <message>
        <source>Print Preview</source>
        <translation>Pré-visualização da impressão</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>Primeira página</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>Página anterior</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Página seguinte</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>Última página</translation>
    </message>
    <message>
        <source>Fit width</source>
        <translation>Ajustar à largura</translation>
    </message>
    <message>
        <source>Fit page</source>
        <translation>Ajustar à página</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Ampliar</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Reduzir</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Vertical</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>Show single page</source>
        <translation>Mostrar uma página</translation>
    </message>
    <message>
        <source>Show facing pages</source>
        <translation>Mostrar páginas lado a lado</translation>
    </message>
    <message>
        <source>Show overview of all pages</source>
        <translation>Mostrar todas as páginas</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>Page setup</source>
        <translation>Configurar página</translation>
    </message>
    <message>
        <source>Page Setup</source>
        <translation>Configurar página</translation>
    </message>
    <message>
        <source>Export to PDF</source>
        <translation>Exportar para PDF</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesDialog</name>
    <message>
        <source>Printer Properties</source>
        <translation>Propriedades da impressora</translation>
    </message>
    <message>
        <source>Job Options</source>
        <translation>Opções do trabalho</translation>
    </message>
    <message>
        <source>Page Setup Conflicts</source>
        <translation>Conflito na configuração da página</translation>
    </message>
    <message>
        <source>Advanced Option Conflicts</source>
        <translation>Conflito nas opções avançadas</translation>
    </message>
    <message>
        <source>There are conflicts in page setup options. Do you want to fix them?</source>
        <translation>Há opções de configuração da página incompatíveis. Quer corrigi-las?</translation>
    </message>
    <message>
        <source>There are conflicts in some advanced options. Do you want to fix them?</source>
        <translation>Há opções avançadas incompatíveis. Quer corrigi-las?</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Página</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Avançadas</translation>
    </message>
    <message>
        <source>There are conflicts in some options. Please fix them.</source>
        <translation>Há opções incompatíveis. Corrija-as, por favor.</translation>
    </message>
</context>
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
    </message>
    <message>
        <source>Print range</source>
        <translation>Intervalo de impressão</translation>
    </message>
    <message>
        <source>Print all</source>
        <translation>Imprimir tudo</translation>
    </message>
    <message>
        <source>Pages from</source>
        <translation>Páginas de</translation>
    </message>
    <message>
        <source>to</source>
        <translation>a</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Páginas</translation>
    </message>
    <message>
        <source>Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.</source>
        <translation>Indique páginas ou intervalos separados por vírgulas; um intervalo são dois números separados por um hífen. Por exemplo, 3,5-7,9 imprime as páginas 3, 5, 6, 7 e 9.</translation>
    </message>
    <message>
        <source>Current Page</source>
        <translation>Página actual</translation>
    </message>
    <message>
        <source>Selection</source>
        <translation>Selecção</translation>
    </message>
    <message>
        <source>Page Set:</source>
        <translation>Conjunto de páginas:</translation>
    </message>
    <message>
        <source>Output Settings</source>
        <translation>Definições de saída</translation>
    </message>
    <message>
        <source>Copies:</source>
        <translation>Cópias:</translation>
    </message>
    <message>
        <source>Collate</source>
        <translation>Agrupar</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Ordem inversa</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>Cópias</translation>
    </message>
    <message>
        <source>Color Mode</source>
        <translation>Cor</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>A cores</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>Tons de cinzento</translation>
    </message>
    <message>
        <source>Double Sided Printing</source>
        <translation>Impressão em frente e verso</translation>
    </message>
    <message>
        <source>Duplex Printing</source>
        <translation>Impressão em frente e verso</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Desligada</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Nenhuma</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>Encadernação pelo lado maior</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>Encadernação pelo lado menor</translation>
    </message>
    <message>
        <source>Long side</source>
        <translation>Lado maior</translation>
    </message>
    <message>
        <source>Short side</source>
        <translation>Lado menor</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opções</translation>
    </message>
</context>
<context>
    <name>QPrintWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Impressora</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nome:</translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation>P&amp;ropriedades</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Localização:</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Pré-visualizar</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Tipo:</translation>
    </message>
    <message>
        <source>Output &amp;file:</source>
        <translation>&amp;Ficheiro de saída:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
</context>
<context>
    <name>QProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>QScrollBar</name>
    <message>
        <source>Scroll here</source>
        <translation>Deslocar para aqui</translation>
    </message>
    <message>
        <source>Left edge</source>
        <translation>Extremo esquerdo</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Início</translation>
    </message>
    <message>
        <source>Right edge</source>
        <translation>Extremo direito</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Fim</translation>
    </message>
    <message>
        <source>Page left</source>
        <translation>Página para a esquerda</translation>
    </message>
    <message>
        <source>Page up</source>
        <translation>Página acima</translation>
    </message>
    <message>
        <source>Page right</source>
        <translation>Página para a direita</translation>
    </message>
    <message>
        <source>Page down</source>
        <translation>Página abaixo</translation>
    </message>
    <message>
        <source>Scroll left</source>
        <translation>Deslocar para a esquerda</translation>
    </message>
    <message>
        <source>Scroll up</source>
        <translation>Deslocar para cima</translation>
    </message>
    <message>
        <source>Scroll right</source>
        <translation>Deslocar para a direita</translation>
    </message>
    <message>
        <source>Scroll down</source>
        <translation>Deslocar para baixo</translation>
    </message>
</context>
<context>
    <name>QTabBar</name>
    <message>
        <source>Scroll Left</source>
        <translation>Deslocar para a esquerda</translation>
    </message>
    <message>
        <source>Scroll Right</source>
        <translation>Deslocar para a direita</translation>
    </message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Anular</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Refazer</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Cor&amp;tar</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>C&amp;olar</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Seleccionar tudo</translation>
    </message>
    <message>
        <source>Copy &amp;Link Location</source>
        <translation>Copiar o &amp;endereço da ligação</translation>
    </message>
</context>
</TS>
