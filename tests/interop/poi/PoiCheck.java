// Reads .ppt files with Apache POI HSLF and prints, per file, one JSON line of what the
// interoperability checks compare (interop.py): page size, slide count, the five document
// properties, and every shape in drawing order with its type, box, turn, flips, path, picture
// bytes, table grid and paragraphs (text, indent level, bullet, numbering). A file POI cannot
// read prints {"file": ..., "error": ...}.
//
//   java -cp <poi jars> PoiCheck.java FILE.ppt...
import java.awt.geom.*;
import java.io.*;
import java.nio.charset.StandardCharsets;
import java.security.MessageDigest;
import java.util.*;
import java.util.stream.*;

import org.apache.poi.hpsf.*;
import org.apache.poi.hslf.model.textproperties.*;
import org.apache.poi.hslf.usermodel.*;
import org.apache.poi.sl.usermodel.ShapeType;

public final class PoiCheck {
    public static void main(String[] args) {
        PrintStream out = new PrintStream(System.out, true, StandardCharsets.UTF_8);
        for (String path : args) {
            try (HSLFSlideShow show = new HSLFSlideShow(new FileInputStream(path))) {
                MessageDigest sha = MessageDigest.getInstance("SHA-256");
                // Every file the library writes holds both property sets.
                SummaryInformation si = show.getSlideShowImpl().getSummaryInformation();
                DocumentSummaryInformation dsi = show.getSlideShowImpl().getDocumentSummaryInformation();
                List<Object> pages = show.getSlides().stream().map(slide -> slide.getShapes().stream()
                    .map(sh -> shape(sh, sha)).collect(Collectors.toList())).collect(Collectors.toList());
                out.println(json(map("file", path, "size", List.of(show.getPageSize().getWidth(),
                    show.getPageSize().getHeight()), "slides", pages.size(), "pages", pages, "properties", map(
                    "title", si.getTitle(), "subject", si.getSubject(), "author", si.getAuthor(),
                    "keywords", si.getKeywords(), "company", dsi.getCompany()))));
            } catch (Throwable t) {
                out.println(json(map("file", path, "error", t.toString())));
            }
        }
    }

    static Map<String, Object> map(Object... keysAndValues) {
        Map<String, Object> m = new LinkedHashMap<>();
        for (int i = 0; i < keysAndValues.length; i += 2) m.put((String) keysAndValues[i], keysAndValues[i + 1]);
        return m;
    }

    // The types are named as the deck format names the shapes that should come back as them.
    static String type(HSLFShape sh) {
        return sh instanceof HSLFTable ? "table" : sh instanceof HSLFPictureShape ? "picture"
            : sh instanceof HSLFLine ? "line" : sh instanceof HSLFFreeformShape ? "polyline"
            : sh instanceof HSLFTextBox ? "text" : sh instanceof HSLFAutoShape && sh.getShapeType() == ShapeType.RECT
            ? "rectangle" : sh.getClass().getSimpleName() + " " + sh.getShapeType();
    }

    static Map<String, Object> shape(HSLFShape sh, MessageDigest sha) {
        Rectangle2D a = sh.getAnchor();
        Map<String, Object> m = map("type", type(sh), "rotation", sh.getRotation(), "box", List.of(a.getX(), a.getY(),
            a.getWidth(), a.getHeight()), "flip", List.of(sh.getFlipHorizontal(), sh.getFlipVertical()));
        if (sh instanceof HSLFFreeformShape) {
            List<Object> path = new ArrayList<>();
            double[] c = new double[6];
            for (PathIterator it = ((HSLFFreeformShape) sh).getPath().getPathIterator(null); !it.isDone(); it.next()) {
                int seg = it.currentSegment(c);
                path.add(seg == PathIterator.SEG_CLOSE ? List.of("Z") : List.of(
                    seg == PathIterator.SEG_MOVETO ? "M" : seg == PathIterator.SEG_LINETO ? "L" : "C", c[0], c[1]));
            }
            m.put("path", path);
        }
        if (sh instanceof HSLFPictureShape) {
            HSLFPictureData pd = ((HSLFPictureShape) sh).getPictureData();
            m.put("picture", pd == null ? null : HexFormat.of().formatHex(sha.digest(pd.getData())));
        }
        if (sh instanceof HSLFTextShape) m.put("paragraphs", paragraphs(((HSLFTextShape) sh).getTextParagraphs()));
        if (sh instanceof HSLFTable) {
            HSLFTable t = (HSLFTable) sh;  // a cell is null where a merge covers its position
            m.put("cells", IntStream.range(0, t.getNumberOfRows()).mapToObj(r -> IntStream.range(0,
                t.getNumberOfColumns()).mapToObj(c -> t.getCell(r, c)).map(cell -> cell == null ? null : map("span",
                List.of(cell.getGridSpan(), cell.getRowSpan()), "paragraphs", paragraphs(cell.getTextParagraphs())))
                .collect(Collectors.toList())).collect(Collectors.toList()));
        }
        return m;
    }

    static List<Object> paragraphs(List<HSLFTextParagraph> paras) {
        List<Object> out = new ArrayList<>();
        for (HSLFTextParagraph p : paras) {
            // POI keeps the paragraph mark on the last run of every paragraph but the last.
            String text = p.getTextRuns().stream().map(HSLFTextRun::getRawText).collect(Collectors.joining())
                .replaceAll("\r$", "");
            // The bullet extension the paragraph's characters refer to (pp9rt, bits 10-13 of the
            // character flags): POI's own getAutoNumberingScheme takes the one of its indent level.
            TextPFException9[] ext = p.getStyleTextProp9Atom() == null ? null
                : p.getStyleTextProp9Atom().getAutoNumberTypes();
            TextProp flags = p.getTextRuns().get(0).getCharacterStyle().findByName("char_flags");
            int pp9rt = flags == null ? 0 : (flags.getValue() >> 10) & 0xF;
            TextPFException9 e = ext != null && pp9rt < ext.length ? ext[pp9rt] : null;
            boolean numbered = e != null && e.getfBulletHasAutoNumber() != null && e.getfBulletHasAutoNumber() != 0;
            out.add(map("text", text, "level", p.getIndentLevel(),
                "bullet", p.isBullet() ? Objects.toString(p.getBulletChar(), "") : null, "numbering",
                !numbered ? null : List.of(e.getAutoNumberScheme() == null ? 3 : e.getAutoNumberScheme().nativeId,
                                           e.getAutoNumberStartNumber() == null ? 1 : e.getAutoNumberStartNumber())));
        }
        return out;
    }

    // Maps, lists, strings, booleans, numbers and null; NaN as null; control characters and
    // surrogates escaped, so that lone ones stay valid JSON.
    @SuppressWarnings("unchecked")
    static String json(Object o) {
        if (o instanceof Map) return ((Map<String, Object>) o).entrySet().stream()
            .map(e -> json(e.getKey()) + ":" + json(e.getValue())).collect(Collectors.joining(",", "{", "}"));
        if (o instanceof List)
            return ((List<Object>) o).stream().map(PoiCheck::json).collect(Collectors.joining(",", "[", "]"));
        if (o == null || o instanceof Double && !Double.isFinite((Double) o)) return "null";
        if (o instanceof Number || o instanceof Boolean) return o.toString();
        StringBuilder sb = new StringBuilder("\"");
        for (char ch : o.toString().toCharArray())
            sb.append(ch == '"' || ch == '\\' ? "\\" + ch : ch < 0x20 || Character.isSurrogate(ch)
                      ? String.format("\\u%04x", (int) ch) : String.valueOf(ch));
        return sb.append('"').toString();
    }
}
