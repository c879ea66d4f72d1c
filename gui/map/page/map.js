'use strict';
// The map page: draws what the program sends and tells it of clicks and drags. All it is
// sent is data: names and other texts go into the page as text, never as markup.
(function () {
    const kindClass = { r: 'read', w: 'written', f: 'failed' };
    const osmAttribution =
        '&copy; <a href="https://www.openstreetmap.org/copyright">OpenStreetMap</a> contributors';

    // A zoom range of its own: the clusters need one, with or without tiles.
    const map = L.map('map', { worldCopyJump: true, minZoom: 1, maxZoom: 19 });
    map.setView([30, 0], 2);

    let bridge = null;
    let tiles = null;
    let tileUrl = null;
    let lines = [];                 // per track segment: its points as L.LatLng
    const markers = new Map();      // row -> L.Marker
    let selected = new Set();       // rows selected in the list, with a marker or not
    let userMoved = false;          // the user has moved the map: stop fitting it to the data
    let messages = 0;               // messages drawn, for the program's tests
    let texts = {};                 // the page's words in the user's language, from the program

    // The page's text for key, with %1 filled; the English below until the program sends its own.
    function T(key, english, arg) {
        const text = typeof texts[key] === 'string' ? texts[key] : english;
        return arg === undefined ? text : text.replace('%1', arg);
    }

    // A wide tolerance: a track line is easier to hit than its width.
    const trackRenderer = L.canvas({ tolerance: 8 });
    const trackLayer = L.featureGroup().addTo(map);
    const cluster = L.markerClusterGroup({
        chunkedLoading: true,
        showCoverageOnHover: false,
        maxClusterRadius: 40,
        iconCreateFunction: clusterIcon,
    });
    map.addLayer(cluster);

    function escapeText(text) {
        return String(text).replace(/[&<>"']/g, c => '&#' + c.charCodeAt(0) + ';');
    }

    function textNode(text) {
        const span = document.createElement('span');
        span.textContent = text;
        return span;
    }

    function wrapLongitude(lng) {
        return ((lng + 180) % 360 + 360) % 360 - 180;
    }

    const icons = {};
    function photoIcon(kind, isSelected) {
        const key = kind + (isSelected ? '+' : '');
        if (!icons[key]) {
            const size = isSelected ? 20 : 14;
            icons[key] = L.divIcon({
                className: 'photo ' + (kindClass[kind] || 'read') + (isSelected ? ' selected' : ''),
                iconSize: [size, size],
                html: '',
            });
        }
        return icons[key];
    }

    function clusterIcon(group) {
        const count = group.getChildCount();
        const size = count < 10 ? 28 : count < 100 ? 34 : count < 1000 ? 40 : 46;
        const hasSelected = selected.size > 0 && group.getAllChildMarkers().some(m => selected.has(m.row));
        return L.divIcon({
            html: textNode(String(count)),
            className: 'photos' + (hasSelected ? ' selected' : ''),
            iconSize: [size, size],
        });
    }

    // Lines at the top of the map that explain it: why it is blank, where its tiles come from.
    const noticeBox = L.DomUtil.create('div', 'notices', map.getContainer());
    L.DomEvent.disableClickPropagation(noticeBox);
    L.DomEvent.disableScrollPropagation(noticeBox);

    function showNotice(id, parts) {
        if (document.getElementById(id))
            return;
        const line = L.DomUtil.create('div', 'notice', noticeBox);
        line.id = id;
        line.setAttribute('role', 'status');
        for (const part of parts)
            line.appendChild(typeof part === 'string' ? document.createTextNode(part) : part);
        const close = L.DomUtil.create('button', 'close', line);
        close.textContent = '\u00d7';
        close.title = T('hide', 'Hide this line');
        close.setAttribute('aria-label', close.title);
        close.addEventListener('click', () => line.remove());
    }

    function hideNotice(id) {
        const line = document.getElementById(id);
        if (line)
            line.remove();
    }

    // Said once for a tile server, not for every tile that fails; a tile that comes after
    // all takes the line away.
    function tilesFailed() {
        showNotice('tiles-failed', [T('tilesFailed', 'Map tiles could not be loaded: offline? See Set-up \u2192 Map tiles')]);
    }

    // The first time the map asks a tile server for tiles, it says what that server learns.
    function tilesFetched(host) {
        const link = document.createElement('a');
        link.href = '#';
        link.textContent = T('aboutTiles', 'About map tiles');
        link.addEventListener('click', e => {
            e.preventDefault();
            if (bridge)
                bridge.openManual();
        });
        showNotice('tiles-privacy', [T('privacy', 'The area you view is sent to %1 to fetch the map\'s tiles.', host) + ' ', link]);
        if (bridge)
            bridge.noticeSeen();
    }

    function setTiles(source) {
        const url = source.url || '';
        if (url === tileUrl)
            return;
        tileUrl = url;
        if (tiles)
            map.removeLayer(tiles);
        tiles = null;
        hideNotice('tiles-failed');
        if (!url)
            return;
        tiles = L.tileLayer(url, {
            maxZoom: 19,
            attribution: source.osm ? osmAttribution : escapeText(T('tilesFrom', 'Map tiles: %1', source.host || url)),
        });
        let told = !source.notice;
        tiles.on('tileloadstart', () => {
            if (!told) {
                told = true;
                tilesFetched(source.host || url);
            }
        });
        tiles.on('tileerror', tilesFailed);
        tiles.on('tileload', () => hideNotice('tiles-failed'));
        tiles.addTo(map);
    }

    function nearestIndex(points, latlng) {
        const p = map.latLngToLayerPoint(latlng);
        let best = 0, bestDistance = Infinity;
        for (let i = 0; i < points.length; ++i) {
            const q = map.latLngToLayerPoint(points[i]);
            const d = (q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y);
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        return best;
    }

    // A click on the track: with one photo selected, the offer to take the camera clock's
    // offset from the nearest point.
    function trackClicked(segment, latlng) {
        const points = lines[segment];
        if (!points || !points.length)
            return;
        const index = nearestIndex(points, latlng);
        const box = document.createElement('div');
        box.className = 'taken-here';
        if (selected.size === 1) {
            const button = document.createElement('button');
            button.textContent = T('takenHere', 'This photo was taken here');
            button.addEventListener('click', () => {
                map.closePopup();
                if (bridge)
                    bridge.takenHere(segment, index);
            });
            box.appendChild(button);
        } else {
            box.textContent = T('selectOne', 'Select one photo in the list, then click the track where it was taken: '
                + 'Pinroute works out the camera clock\'s offset from that point.');
        }
        L.popup({ maxWidth: 260 }).setLatLng(points[index]).setContent(box).openOn(map);
    }

    function setTrack(segments) {
        trackLayer.clearLayers();
        lines = segments.map(flat => {
            const points = [];
            for (let i = 0; i + 1 < flat.length; i += 2)
                points.push(L.latLng(flat[i], flat[i + 1]));
            return points;
        });
        lines.forEach((points, segment) => {
            const line = L.polyline(points, { renderer: trackRenderer, color: '#c2185b', weight: 3, opacity: 0.85 });
            line.on('click', e => trackClicked(segment, e.latlng));
            trackLayer.addLayer(line);
        });
    }

    function modifierHeld(e) {
        const o = e.originalEvent || {};
        return !!(o.ctrlKey || o.metaKey || o.shiftKey);
    }

    // m: [row, latitude, longitude, kind, name], or [row] for a row that has no position now.
    function placeMarker(m, added) {
        const row = m[0];
        let marker = markers.get(row);
        if (m.length < 5) {
            if (marker) {
                cluster.removeLayer(marker);
                markers.delete(row);
            }
            return;
        }
        const kind = m[3];
        if (!marker) {
            marker = L.marker([m[1], m[2]], {
                icon: photoIcon(kind, selected.has(row)),
                draggable: true,
                keyboard: false,
                zIndexOffset: selected.has(row) ? 1000 : 0,
            });
            marker.row = row;
            marker.kind = kind;
            // The row on the marker's element, for finding it in the page.
            marker.on('add', () => { marker.getElement().dataset.row = String(row); });
            marker.name = m[4];
            marker.bindTooltip(() => textNode(marker.name), { direction: 'top', offset: [0, -8] });
            marker.on('click', e => {
                if (bridge)
                    bridge.markerClicked(row, modifierHeld(e));
            });
            marker.on('dragend', () => {
                const p = marker.getLatLng();
                if (bridge)
                    bridge.markerMoved(row, p.lat, wrapLongitude(p.lng));
            });
            markers.set(row, marker);
            added.push(marker);
            return;
        }
        marker.name = m[4];
        if (marker.kind !== kind) {
            marker.kind = kind;
            marker.setIcon(photoIcon(kind, selected.has(row)));
        }
        const p = marker.getLatLng();
        if (p.lat !== m[1] || p.lng !== m[2])
            marker.setLatLng([m[1], m[2]]);
    }

    function fitAll(animate) {
        const bounds = L.latLngBounds([]);
        if (lines.length)
            bounds.extend(trackLayer.getBounds());
        markers.forEach(m => bounds.extend(m.getLatLng()));
        if (bounds.isValid())
            map.fitBounds(bounds, { padding: [24, 24], maxZoom: 17, animate: animate });
    }

    function apply(json) {
        try {
            const d = JSON.parse(json);
            if (d.texts) {
                texts = d.texts;
                labelMap();
            }
            if (d.tiles)
                setTiles(d.tiles);
            if (d.reset) {
                cluster.clearLayers();
                markers.clear();
                userMoved = false;
            }
            if (d.track)
                setTrack(d.track);
            if (d.markers) {
                const added = [];
                for (const m of d.markers)
                    placeMarker(m, added);
                if (added.length)
                    cluster.addLayers(added);
            }
            if (d.fit && !userMoved)
                fitAll(false);
            ++messages;
        } catch (error) {
            console.error('map: ' + error);
        }
    }

    function centreOn(list) {
        if (list.length === 1) {
            const marker = list[0];
            cluster.zoomToShowLayer(marker, () => map.panTo(marker.getLatLng()));
            return;
        }
        const bounds = L.latLngBounds(list.map(m => m.getLatLng()));
        if (map.getBounds().contains(bounds))
            map.panTo(bounds.getCenter());
        else
            map.fitBounds(bounds, { padding: [24, 24], maxZoom: map.getZoom() });
    }

    // d: { rows: [...], centre: bool }
    function select(json) {
        try {
            const d = JSON.parse(json);
            const now = new Set(d.rows);
            const changed = [];
            selected.forEach(r => { if (!now.has(r)) changed.push(r); });
            now.forEach(r => { if (!selected.has(r)) changed.push(r); });
            selected = now;
            for (const row of changed) {
                const marker = markers.get(row);
                if (marker) {
                    marker.setIcon(photoIcon(marker.kind, selected.has(row)));
                    marker.setZIndexOffset(selected.has(row) ? 1000 : 0);
                }
            }
            if (changed.length)
                cluster.refreshClusters();
            const shown = [];
            selected.forEach(r => { if (markers.has(r)) shown.push(markers.get(r)); });
            if (d.centre && shown.length) {
                centreOn(shown);
                userMoved = true;   // the user looks at these now: later batches leave the map be
            }
            ++messages;
        } catch (error) {
            console.error('map: ' + error);
        }
    }

    // By keyboard: Leaflet pans with the arrow keys and zooms with + and -; Enter places the
    // selected photos at the centre, where the cross is, after the same question as a drag.
    const container = map.getContainer();
    function labelMap() {
        container.setAttribute('aria-label', T('mapLabel', 'Map: arrow keys move it, + and - zoom, '
            + 'Enter places the selected photos at the cross in the middle'));
    }
    labelMap();
    L.DomUtil.create('div', 'crosshair', container);
    container.addEventListener('keydown', e => {
        if (e.key !== 'Enter' || e.target !== container || !bridge)
            return;
        e.preventDefault();
        if (!selected.size) {
            showNotice('select-first', [T('selectFirst', 'Select photos in the list, then press Enter to place them at the cross.')]);
            return;
        }
        hideNotice('select-first');
        const c = map.getCenter();
        bridge.placeSelected(c.lat, wrapLongitude(c.lng));
    });
    container.addEventListener('keydown', () => { userMoved = true; });
    // Focus that reaches the page goes to the map, not to the page around it.
    window.addEventListener('focus', () => {
        if (document.activeElement === document.body || !document.activeElement)
            container.focus();
    });

    // Once the user pans or zooms, new data no longer moves the map.
    map.on('dragstart', () => { userMoved = true; });
    map.getContainer().addEventListener('wheel', () => { userMoved = true; }, { passive: true });
    map.getContainer().addEventListener('dblclick', () => { userMoved = true; });
    map.zoomControl.getContainer().addEventListener('click', () => { userMoved = true; });

    // For the program: where a point of the map's area lies (a drop), where a point of the
    // track is drawn, and what the page holds.
    window.pinrouteLatLngAt = function (x, y) {
        const p = map.containerPointToLatLng([x, y]);
        return [p.lat, wrapLongitude(p.lng)];
    };
    // A town chosen in the search box: into view at a town's scale.
    window.pinrouteCentreOn = function (lat, lon) {
        map.setView([lat, lon], Math.max(map.getZoom(), 12));
        userMoved = true;
    };
    window.pinroutePointAt = function (segment, index) {
        const p = map.latLngToContainerPoint(lines[segment][index]);
        return [p.x, p.y];
    };
    window.pinrouteState = function () {
        const counts = { r: 0, w: 0, f: 0 };
        markers.forEach(m => { counts[m.kind] = (counts[m.kind] || 0) + 1; });
        let points = 0;
        lines.forEach(l => { points += l.length; });
        return {
            markers: markers.size,
            clustered: cluster.getLayers().length,
            read: counts.r,
            written: counts.w,
            failed: counts.f,
            lines: lines.length,
            points: points,
            selected: Array.from(selected),
            tiles: tileUrl,
            notices: Array.from(noticeBox.children).map(n => n.id),
            zoom: map.getZoom(),
            centre: [map.getCenter().lat, map.getCenter().lng],
            messages: messages,
        };
    };

    new QWebChannel(qt.webChannelTransport, channel => {
        bridge = channel.objects.bridge;
        bridge.toPage.connect(apply);
        bridge.selectionToPage.connect(select);
        bridge.pageReady();
    });
})();
