// The editor UI movie of the gallery maker. The program folder holds it as "libavcodec.dll";
// the host's control plays it. The movie talks to its host only by requests
// (flashHost.call with an external-call text) and by the functions the host calls by name.
import QtQuick

Rectangle {
    id: movie
    width: 985
    height: 670
    color: "#303030"

    // ---- state the host and tests read -------------------------------------------------------
    property int mainIndex: 0
    readonly property int photoCount: photos.count
    readonly property int templateCount: templates.count
    readonly property bool contextMenuShown: contextMenu.visible
    property int selectedTemplate: -1
    property var templateInfo: ({ usebgimage: "0", colorvalue: "0", bgimage: "", useframe: "0",
                                  uselight: "1", usefill: "0", autodelay: "5", dragtype: "drag move" })
    property int previewStamp: 0     // raised whenever the host says the preview images changed
    property string previewMovie: ""
    property int lastSelected: -1

    ListModel { id: photos }         // thumb, title, id, time, size, selected, stamp
    ListModel { id: templates }      // templateId, name, offset, size

    // ---- talking to the host -----------------------------------------------------------------
    function escapeXml(text) {
        return String(text).replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;")
                           .replace(/"/g, "&quot;")
    }

    function send(name, args) {
        var text = "<invoke name=\"" + name + "\" returntype=\"xml\"><arguments>"
        for (var i = 0; args !== undefined && i < args.length; ++i) {
            if (typeof args[i] === "number")
                text += "<number>" + args[i] + "</number>"
            else
                text += "<string>" + escapeXml(args[i]) + "</string>"
        }
        flashHost.call(text + "</arguments></invoke>")
    }

    // The text between <name> and </name> inside `text`; the host sends values unescaped.
    function field(text, name) {
        var open = "<" + name + ">", close = "</" + name + ">"
        var start = text.indexOf(open)
        if (start < 0)
            return ""
        start += open.length
        var end = text.indexOf(close, start)
        return end < 0 ? text.substring(start) : text.substring(start, end)
    }

    function fileUrl(path) {
        return path.length === 0 ? "" : "file://" + encodeURI(path)
    }

    function sizeText(bytes) {
        var n = Number(bytes)
        if (n < 0) return "missing"
        if (n < 1024) return n + " B"
        if (n < 1048576) return (n / 1024).toFixed(1) + " KB"
        return (n / 1048576).toFixed(1) + " MB"
    }

    // ---- functions the host calls ------------------------------------------------------------
    // The host calls functions by their registered names (QML method names must start in lower
    // case, the host's names do not).
    property var callbacks: ({})

    function registerCallbacks() {
        callbacks = {
            "ChangMainIndex": function(index) { return changMainIndex(index) },
            "ClearAllImage": function(unused) { return clearAllImage(unused) },
            "AddPhoto": function(xml) { return addPhoto(xml) },
            "UpdateThumbImg": function(path, position) { return updateThumbImg(path, position) },
            "SetTemplateInfo": function(xml) { return setTemplateInfo(xml) },
            "ReLoadSelectedTemplate": function(unused) { return reLoadSelectedTemplate(unused) },
            "SetReLoadImage": function(unused) { return setReLoadImage(unused) },
            "PopuRightMenu": function(unused) { return popuRightMenu(unused) },
            "PreViewFlash": function(path) { return preViewFlash(path) }
        }
    }

    function hasCallback(name) {
        return callbacks.hasOwnProperty(name)
    }

    function invokeCallback(name, args) {
        var result = callbacks[name].apply(null, args)
        return result === undefined ? "" : String(result)
    }

    function changMainIndex(index) { mainIndex = Number(index) || 0; return "" }

    function clearAllImage(unused) { photos.clear(); lastSelected = -1; return "" }

    function addPhoto(xml) {
        var text = String(xml)
        var at = 0
        while (true) {
            var start = text.indexOf("<photo>", at)
            if (start < 0)
                break
            var end = text.indexOf("</photo>", start)
            if (end < 0)
                end = text.length
            var one = text.substring(start + 7, end)
            photos.append({ thumb: field(one, "thumb"), title: field(one, "title"),
                            photoId: Number(field(one, "id")), time: field(one, "time"),
                            size: field(one, "size"), selected: false, stamp: 0 })
            at = end + 8
        }
        return ""
    }

    function updateThumbImg(path, position) {
        var index = Number(position)
        if (index >= 0 && index < photos.count) {
            photos.setProperty(index, "thumb", String(path))
            photos.setProperty(index, "stamp", photos.get(index).stamp + 1)
        }
        return ""
    }

    function setTemplateInfo(xml) {
        var text = String(xml)
        var info = {}
        for (var key in templateInfo)
            info[key] = field(text, key)
        templateInfo = info
        return ""
    }

    function reLoadSelectedTemplate(unused) { swing.restart(); return "" }

    function setReLoadImage(unused) { previewStamp += 1; return "" }

    function popuRightMenu(unused) {
        contextMenu.x = Math.min(pointer.mouseX, movie.width - contextMenu.width)
        contextMenu.y = Math.min(pointer.mouseY, movie.height - contextMenu.height)
        contextMenu.visible = true
        return ""
    }

    function preViewFlash(path) { previewMovie = String(path); mainIndex = 3; return "" }

    // ---- photo list actions ------------------------------------------------------------------
    function selectOnly(index) {
        for (var i = 0; i < photos.count; ++i)
            photos.setProperty(i, "selected", i === index)
        lastSelected = index
    }

    function toggleSelected(index) {
        photos.setProperty(index, "selected", !photos.get(index).selected)
        lastSelected = index
    }

    function selectedIds() {
        var ids = []
        for (var i = 0; i < photos.count; ++i)
            if (photos.get(i).selected)
                ids.push(photos.get(i).photoId)
        return ids
    }

    function deleteSelected() {
        var ids = selectedIds()
        if (ids.length === 0)
            return
        send("DelPhoto", [ids.join("-") + "-", ids.length])
        for (var i = photos.count - 1; i >= 0; --i)
            if (photos.get(i).selected)
                photos.remove(i)
        lastSelected = -1
    }

    function sendOrder() {
        var list = ""
        for (var i = 0; i < photos.count; ++i)
            list += photos.get(i).photoId + "-"
        send("RefreshPhoto", [list])
    }

    // ---- template catalogue ------------------------------------------------------------------
    function loadTemplates() {
        var request = new XMLHttpRequest()
        request.onreadystatechange = function() {
            if (request.readyState !== XMLHttpRequest.DONE)
                return
            var text = String(request.responseText)
            var list = text.substring(text.indexOf("<Templates>"))
            var marks = []
            for (var at = list.indexOf("<TemplateID>"); at >= 0; at = list.indexOf("<TemplateID>", at + 1))
                marks.push(at)
            templates.clear()
            for (var i = 0; i < marks.length; ++i) {
                var entry = list.substring(marks[i], i + 1 < marks.length ? marks[i + 1] : list.length)
                var id = field(entry, "TemplateID")
                var name = field(entry, "TemplateName") || field(entry, "Name") || ("Template " + id)
                // The catalogue stores offsets and sizes with 515 added.
                templates.append({ templateId: id, name: name,
                                   offset: Number(field(entry, "MD5O")) - 515,
                                   size: Number(field(entry, "CRTS")) - 515 })
            }
        }
        request.open("GET", Qt.resolvedUrl("Res/TemplateXML.xml"))
        request.send()
    }

    function chooseTemplate(index) {
        var entry = templates.get(index)
        selectedTemplate = index
        send("Template_Selected", [String(entry.offset), String(entry.size), String(entry.templateId)])
    }

    Component.onCompleted: {
        registerCallbacks()
        loadTemplates()
        send("InitComplate", [])
    }

    // ---- look ---------------------------------------------------------------------------------
    component Button: Rectangle {
        id: button
        property string text
        property bool accent: false
        signal clicked()
        width: Math.max(88, label.implicitWidth + 24)
        height: 28
        radius: 4
        color: area.pressed ? "#1d1d1d" : area.containsMouse ? (accent ? "#e07a2e" : "#4c4c50")
                                                              : (accent ? "#c8641f" : "#3c3c40")
        border.color: "#55555a"
        Text {
            id: label
            anchors.centerIn: parent
            text: button.text
            color: "#f0f0f0"
            font.pixelSize: 12
        }
        MouseArea { id: area; anchors.fill: parent; hoverEnabled: true; onClicked: button.clicked() }
    }

    component Tab: Rectangle {
        id: tab
        property string text
        property int page
        width: 118
        height: 34
        color: movie.mainIndex === page ? "#303030" : tabArea.containsMouse ? "#2a2a2c" : "#202022"
        Rectangle {
            anchors { left: parent.left; right: parent.right; top: parent.top }
            height: 3
            color: movie.mainIndex === tab.page ? "#e07a2e" : "transparent"
        }
        Text { anchors.centerIn: parent; text: tab.text; color: "#e8e8e8"; font.pixelSize: 13; font.bold: movie.mainIndex === tab.page }
        MouseArea { id: tabArea; anchors.fill: parent; hoverEnabled: true; onClicked: movie.mainIndex = tab.page }
    }

    component MenuEntry: Text {
        id: entry
        property string command
        color: entryArea.containsMouse ? "#ffb070" : "#bdbdbd"
        font.pixelSize: 12
        MouseArea { id: entryArea; anchors.fill: parent; anchors.margins: -4; hoverEnabled: true; onClicked: movie.send(entry.command, []) }
    }

    // One of the twelve preview pictures, framed when the template settings ask for it.
    component PreviewPicture: Rectangle {
        property int number
        property bool framed: movie.templateInfo.useframe === "1"
        color: framed ? "#f4f4f4" : "transparent"
        Image {
            anchors.fill: parent
            anchors.margins: parent.framed ? 3 : 0
            // Loaded while the template page shows; the stamp makes changed files load again.
            source: movie.mainIndex === 1
                    ? "Images/testPic" + parent.number + ".jpeg?" + movie.previewStamp : ""
            cache: false
            asynchronous: false
            fillMode: Image.PreserveAspectCrop
        }
    }

    // The template preview: the twelve preview pictures on a swaying wall, or (every other
    // template) on a turning ring. `motion` runs from -1 to 1 and back.
    component TemplatePreview: Item {
        id: preview
        property real motion: 0
        property bool ring: false
        property real cell: Math.min(width / 4.4, height / 3.4)
        Grid {
            id: wallGrid
            visible: !preview.ring
            anchors.centerIn: parent
            columns: 4
            spacing: preview.cell * 0.08
            transform: Rotation {
                origin.x: wallGrid.width / 2; origin.y: wallGrid.height / 2
                axis { x: 0; y: 1; z: 0 }
                angle: preview.motion * 14
            }
            Repeater {
                model: 12
                PreviewPicture { number: index + 1; width: preview.cell; height: preview.cell * 0.75 }
            }
        }
        Repeater {
            model: preview.ring ? 12 : 0
            PreviewPicture {
                number: index + 1
                readonly property real angle: (index / 12 + preview.motion / 4) * 2 * Math.PI
                readonly property real depth: (Math.sin(angle) + 1) / 2 // 0 far, 1 near
                width: preview.cell * (0.55 + 0.45 * depth)
                height: width * 0.75
                x: preview.width / 2 + Math.cos(angle) * preview.width * 0.36 - width / 2
                y: preview.height / 2 + Math.sin(angle) * preview.height * 0.22 - height / 2
                z: depth
                opacity: 0.45 + 0.55 * depth
            }
        }
    }

    // Tracks the pointer for the context menu (the right press itself never reaches the movie).
    MouseArea { id: pointer; anchors.fill: parent; hoverEnabled: true; acceptedButtons: Qt.NoButton; z: 10 }

    Rectangle {
        id: header
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 34
        color: "#202022"
        Row {
            Tab { text: "Photos"; page: 0 }
            Tab { text: "Templates"; page: 1 }
            Tab { text: "Music"; page: 2 }
            Tab { text: "Publish"; page: 3 }
        }
        Row {
            anchors { right: parent.right; rightMargin: 14; verticalCenter: parent.verticalCenter }
            spacing: 16
            MenuEntry { text: "New"; command: "Menu_New" }
            MenuEntry { text: "Open"; command: "Menu_Open" }
            MenuEntry { text: "Save"; command: "Menu_Save" }
            MenuEntry { text: "Save As"; command: "Menu_SaveAs" }
            MenuEntry { text: "Help"; command: "Menu_Help" }
            MenuEntry { text: "Support"; command: "Menu_Support" }
            MenuEntry { text: "About"; command: "Menu_ABout" }
            MenuEntry { text: "Exit"; command: "Menu_Exit" }
        }
    }

    Item {
        id: pages
        anchors { left: parent.left; right: parent.right; top: header.bottom; bottom: parent.bottom }

        // ---- photos ------------------------------------------------------------------------
        Item {
            anchors.fill: parent
            visible: movie.mainIndex === 0
            Row {
                id: photoTools
                x: 14; y: 12
                spacing: 8
                Button { objectName: "addPhotos"; text: "Add Photos"; accent: true; onClicked: movie.send("AddPhoto", []) }
                Button { text: "Delete"; onClicked: movie.deleteSelected() }
                Button { text: "Edit"; onClicked: if (movie.lastSelected >= 0) movie.send("EditPhoto", [movie.lastSelected]) }
                Button { text: "Caption"; onClicked: if (movie.lastSelected >= 0) movie.send("SetDesction", [movie.lastSelected]) }
            }
            Text {
                anchors { right: parent.right; rightMargin: 16; verticalCenter: photoTools.verticalCenter }
                text: photos.count === 0 ? "" : "Drag photos to change their order"
                color: "#8a8a8a"; font.pixelSize: 12
            }
            Text {
                anchors.centerIn: parent
                visible: photos.count === 0
                text: "Click \u201cAdd Photos\u201d to start your gallery"
                color: "#8a8a8a"; font.pixelSize: 18
            }
            GridView {
                id: grid
                objectName: "photoGrid"
                anchors { left: parent.left; right: parent.right; top: photoTools.bottom; bottom: parent.bottom; margins: 12 }
                clip: true
                cellWidth: 200; cellHeight: 196
                model: photos
                interactive: false
                delegate: Item {
                    width: grid.cellWidth; height: grid.cellHeight
                    Rectangle {
                        anchors { fill: parent; margins: 6 }
                        radius: 5
                        color: model.selected ? "#4a3a2c" : "#3a3a3d"
                        border.color: model.selected ? "#e07a2e" : "#505055"
                        border.width: model.selected ? 2 : 1
                        Image {
                            id: thumbImage
                            x: 8; y: 8
                            width: parent.width - 16; height: 120
                            fillMode: Image.PreserveAspectFit
                            source: movie.fileUrl(model.thumb) + (model.stamp > 0 ? "?" + model.stamp : "")
                            cache: false
                            asynchronous: false
                        }
                        Column {
                            anchors { left: parent.left; right: parent.right; top: thumbImage.bottom; margins: 8; topMargin: 6 }
                            spacing: 2
                            Text { width: parent.width; text: model.title; color: "#f0f0f0"; font.pixelSize: 12; elide: Text.ElideMiddle }
                            Text { width: parent.width; text: movie.sizeText(model.size) + "   " + model.time; color: "#9a9a9a"; font.pixelSize: 10; elide: Text.ElideRight }
                        }
                    }
                }
                MouseArea {
                    anchors.fill: parent
                    property int dragIndex: -1
                    property bool moved: false
                    property real startX: 0
                    property real startY: 0
                    onPressed: function(mouse) {
                        var index = grid.indexAt(mouse.x + grid.contentX, mouse.y + grid.contentY)
                        dragIndex = index; moved = false; startX = mouse.x; startY = mouse.y
                        if (index < 0)
                            return
                        if (mouse.modifiers & Qt.ControlModifier)
                            movie.toggleSelected(index)
                        else if (!photos.get(index).selected)
                            movie.selectOnly(index)
                        else
                            movie.lastSelected = index
                    }
                    onPositionChanged: function(mouse) {
                        if (dragIndex < 0 || (!moved && Math.abs(mouse.x - startX) + Math.abs(mouse.y - startY) < 12))
                            return
                        var target = grid.indexAt(mouse.x + grid.contentX, mouse.y + grid.contentY)
                        if (target >= 0 && target !== dragIndex) {
                            photos.move(dragIndex, target, 1)
                            dragIndex = target
                            movie.lastSelected = target
                        }
                        moved = true
                    }
                    onReleased: {
                        if (moved)
                            movie.sendOrder()
                        dragIndex = -1
                        moved = false
                    }
                    onDoubleClicked: function(mouse) {
                        var index = grid.indexAt(mouse.x + grid.contentX, mouse.y + grid.contentY)
                        if (index >= 0)
                            movie.send("EditPhoto", [index])
                    }
                    onWheel: function(wheel) {
                        grid.contentY = Math.max(0, Math.min(grid.contentHeight - grid.height,
                                                             grid.contentY - wheel.angleDelta.y))
                    }
                }
            }
        }

        // ---- templates ---------------------------------------------------------------------
        Item {
            anchors.fill: parent
            visible: movie.mainIndex === 1
            ListView {
                id: templateList
                anchors { left: parent.left; top: parent.top; bottom: parent.bottom; margins: 12 }
                width: 220
                spacing: 6
                clip: true
                model: templates
                delegate: Rectangle {
                    width: templateList.width; height: 46
                    radius: 4
                    color: index === movie.selectedTemplate ? "#4a3a2c" : "#3a3a3d"
                    border.color: index === movie.selectedTemplate ? "#e07a2e" : "#505055"
                    Text { anchors { left: parent.left; leftMargin: 12; verticalCenter: parent.verticalCenter }
                           text: model.name; color: "#f0f0f0"; font.pixelSize: 13 }
                    MouseArea { anchors.fill: parent; onClicked: movie.chooseTemplate(index) }
                }
            }
            Rectangle {
                id: stage
                anchors { left: templateList.right; right: parent.right; top: parent.top; bottom: templateTools.top; margins: 12 }
                radius: 4
                clip: true
                color: {
                    var value = Number(movie.templateInfo.colorvalue) || 0
                    return Qt.rgba(((value >> 16) & 255) / 255, ((value >> 8) & 255) / 255, (value & 255) / 255, 1)
                }
                Image {
                    anchors.fill: parent
                    visible: movie.templateInfo.usebgimage === "1" && movie.templateInfo.bgimage.length > 0
                    source: visible ? movie.fileUrl(movie.templateInfo.bgimage) : ""
                    fillMode: Image.PreserveAspectCrop
                }
                Rectangle {
                    anchors.fill: parent
                    visible: movie.templateInfo.uselight === "1"
                    gradient: Gradient {
                        GradientStop { position: 0.0; color: "#40ffffff" }
                        GradientStop { position: 0.6; color: "#00ffffff" }
                    }
                }
                TemplatePreview {
                    anchors.fill: parent
                    anchors.margins: 20
                    ring: movie.selectedTemplate % 2 === 1
                    SequentialAnimation on motion {
                        id: swing
                        loops: Animation.Infinite
                        NumberAnimation { from: -1; to: 1; duration: 4000; easing.type: Easing.InOutSine }
                        NumberAnimation { from: 1; to: -1; duration: 4000; easing.type: Easing.InOutSine }
                    }
                }
                Text {
                    anchors { left: parent.left; bottom: parent.bottom; margins: 10 }
                    text: movie.selectedTemplate < 0 || movie.selectedTemplate >= templates.count
                          ? "Choose a template on the left"
                          : templates.get(movie.selectedTemplate).name + "  \u2013  " + movie.templateInfo.dragtype
                    color: "#e0e0e0"; font.pixelSize: 12; style: Text.Outline; styleColor: "#202020"
                }
            }
            Row {
                id: templateTools
                anchors { left: stage.left; bottom: parent.bottom; bottomMargin: 12 }
                spacing: 8
                Button { text: "Template Settings"; accent: true; onClicked: movie.send("SetTemplate", []) }
            }
        }

        // ---- music ---------------------------------------------------------------------------
        Item {
            anchors.fill: parent
            visible: movie.mainIndex === 2
            Column {
                anchors.centerIn: parent
                spacing: 16
                Text { anchors.horizontalCenter: parent.horizontalCenter; text: "Background music"; color: "#f0f0f0"; font.pixelSize: 20 }
                Text { anchors.horizontalCenter: parent.horizontalCenter; text: "Add music files, set their clips and fades."; color: "#9a9a9a"; font.pixelSize: 13 }
                Button { anchors.horizontalCenter: parent.horizontalCenter; text: "Add Music"; accent: true; onClicked: movie.send("AddMusic", []) }
            }
        }

        // ---- publish -------------------------------------------------------------------------
        Item {
            anchors.fill: parent
            visible: movie.mainIndex === 3
            Column {
                anchors.centerIn: parent
                spacing: 12
                Text { anchors.horizontalCenter: parent.horizontalCenter; text: "Publish your gallery"; color: "#f0f0f0"; font.pixelSize: 20 }
                Grid {
                    anchors.horizontalCenter: parent.horizontalCenter
                    columns: 3
                    spacing: 10
                    Button { text: "Flash Movie"; onClicked: movie.send("BuildSWF", []) }
                    Button { text: "Program"; onClicked: movie.send("BuildEXE", []) }
                    Button { text: "Web Page"; onClicked: movie.send("BuildHTML", []) }
                    Button { text: "Screen Saver"; onClicked: movie.send("BuildSRC", []) }
                    Button { text: "E-mail"; onClicked: movie.send("BuildEmail", []) }
                    Button { text: "Preview"; accent: true; onClicked: movie.send("PreViewFlash", []) }
                }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    visible: movie.previewMovie.length > 0
                    text: "Preview built: " + movie.previewMovie
                    color: "#9a9a9a"; font.pixelSize: 12
                }
            }
        }
    }

    // The movie's own context menu, opened by the host on a right click.
    Rectangle {
        id: contextMenu
        visible: false
        z: 20
        width: 170; height: menuColumn.height + 8
        radius: 4
        color: "#262628"
        border.color: "#5a5a5e"
        Column {
            id: menuColumn
            x: 4; y: 4
            Repeater {
                model: [ { text: "Add Photos", command: "AddPhoto" }, { text: "Delete", command: "" },
                         { text: "Caption", command: "SetDesction" }, { text: "Edit Photo", command: "EditPhoto" } ]
                Rectangle {
                    width: 162; height: 26
                    color: itemArea.containsMouse ? "#3c3c40" : "transparent"
                    Text { x: 10; anchors.verticalCenter: parent.verticalCenter; text: modelData.text; color: "#e8e8e8"; font.pixelSize: 12 }
                    MouseArea {
                        id: itemArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: {
                            contextMenu.visible = false
                            if (modelData.command === "")
                                movie.deleteSelected()
                            else if (modelData.command === "AddPhoto")
                                movie.send("AddPhoto", [])
                            else if (movie.lastSelected >= 0)
                                movie.send(modelData.command, [movie.lastSelected])
                        }
                    }
                }
            }
        }
    }
    MouseArea {
        anchors.fill: parent
        z: 19
        visible: contextMenu.visible
        onClicked: contextMenu.visible = false
    }
}
