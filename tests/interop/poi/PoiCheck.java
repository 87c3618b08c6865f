// Reads .ppt files with Apache POI HSLF and prints, per file, one JSON line of what the
// interoperability checks compare (interop.py): page size, slide count, the five document
// properties, and every shape in drawing order with its type, box, turn, path, picture bytes,
// table grid and paragraphs. A file POI cannot read prints {"file": ..., "error": ...}.
//
//   java -cp <poi jars>:<dir of PoiCheck.class> PoiCheck FILE.ppt...
import java.awt.Color;
import java.awt.geom.PathIterator;
import java.io.FileInputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.security.MessageDigest;
import java.util.*;

import org.apache.poi.hpsf.DocumentSummaryInformation;
import org.apache.poi.hpsf.SummaryInformation;
import org.apache.poi.hslf.model.textproperties.TextPFException9;
import org.apache.poi.hslf.model.textproperties.TextProp;
import org.apache.poi.hslf.usermodel.*;
import org.apache.poi.sl.usermodel.PaintStyle;
import org.apache.poi.sl.usermodel.ShapeType;

public final class PoiCheck {
    public static void main(String[] args) {
        PrintStream out = new PrintStream(System.out, true, StandardCharsets.UTF_8);
        for (String path : args) {
            try (HSLFSlideShow show = new HSLFSlideShow(new FileInputStream(path))) {
                SummaryInformation si = show.getSlideShowImpl().getSummaryInformation();
                DocumentSummaryInformation dsi = show.getSlideShowImpl().getDocumentSummaryInformation();
                List<Object> pages = new ArrayList<>();
                for (HSLFSlide slide : show.getSlides()) {
                    List<Object> shapes = new ArrayList<>();
                    for (HSLFShape sh : slide.getShapes()) shapes.add(shape(sh));
                    pages.add(shapes);
                }
                out.println(json(map("file", path, "size", List.of(show.getPageSize().getWidth(),
                    show.getPageSize().getHeight()), "slides", pages.size(), "pages", pages, "properties", map(
                    "title", si == null ? null : si.getTitle(), "subject", si == null ? null : si.getSubject(),
                    "author", si == null ? null : si.getAuthor(), "keywords", si == null ? null : si.getKeywords(),
                    "company", dsi == null ? null : dsi.getCompany()))));
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
        if (sh instanceof HSLFTable) return "table";
        if (sh instanceof HSLFPictureShape) return "picture";
        if (sh instanceof HSLFLine) return "line";
        if (sh instanceof HSLFFreeformShape) return "polyline";
        if (sh instanceof HSLFTextBox) return "text";
        if (sh instanceof HSLFAutoShape && sh.getShapeType() == ShapeType.RECT) return "rectangle";
        return sh.getClass().getSimpleName() + " " + sh.getShapeType();
    }

    static Map<String, Object> shape(HSLFShape sh) throws Exception {
        java.awt.geom.Rectangle2D a = sh.getAnchor();
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
            StringBuilder sha = new StringBuilder();
            for (byte b : pd == null ? new byte[0] : MessageDigest.getInstance("SHA-256").digest(pd.getData()))
                sha.append(String.format("%02x", b & 0xff));
            m.put("picture", pd == null ? null : sha.toString());
        }
        if (sh instanceof HSLFTextShape) m.put("paragraphs", paragraphs(((HSLFTextShape) sh).getTextParagraphs()));
        if (sh instanceof HSLFTable) {
            HSLFTable t = (HSLFTable) sh;
            List<Object> rows = new ArrayList<>();
            for (int r = 0; r < t.getNumberOfRows(); r++) {
                List<Object> row = new ArrayList<>();
                for (int c = 0; c < t.getNumberOfColumns(); c++) {
                    HSLFTableCell cell = t.getCell(r, c);  // null where a merge covers the position
                    row.add(cell == null ? null : map("span", List.of(cell.getGridSpan(), cell.getRowSpan()),
                        "paragraphs", paragraphs(cell.getTextParagraphs()), "fill", hex(cell.getFillColor())));
                }
                rows.add(row);
            }
            m.put("cells", rows);
        }
        return m;
    }

    static List<Object> paragraphs(List<HSLFTextParagraph> paras) {
        List<Object> out = new ArrayList<>();
        for (HSLFTextParagraph p : paras) {
            List<Object> runs = new ArrayList<>();
            for (HSLFTextRun r : p.getTextRuns()) {
                PaintStyle ps = r.getFontColor();
                Color color = ps instanceof PaintStyle.SolidPaint
                    ? ((PaintStyle.SolidPaint) ps).getSolidColor().getColor() : null;
                // POI keeps the paragraph mark on the last run of every paragraph but the last.
                runs.add(map("text", r.getRawText().replaceAll("\r$", ""), "bold", r.isBold(), "italic", r.isItalic(),
                    "underline", r.isUnderlined(), "size", r.getFontSize(), "script", r.getSuperscript(),
                    "face", r.getFontFamily(), "color", hex(color)));
            }
            // The bullet extension the paragraph's characters refer to (pp9rt, bits 10-13 of the
            // character flags): POI's own getAutoNumberingScheme takes the one of its indent level.
            TextPFException9[] ext = p.getStyleTextProp9Atom() == null ? null
                : p.getStyleTextProp9Atom().getAutoNumberTypes();
            TextProp flags = p.getTextRuns().get(0).getCharacterStyle().findByName("char_flags");
            int pp9rt = flags == null ? 0 : (flags.getValue() >> 10) & 0xF;
            TextPFException9 e = ext != null && pp9rt < ext.length ? ext[pp9rt] : null;
            boolean numbered = e != null && e.getfBulletHasAutoNumber() != null && e.getfBulletHasAutoNumber() != 0;
            out.add(map("align", p.getTextAlign() == null ? null : p.getTextAlign().name(), "level", p.getIndentLevel(),
                "bullet", p.isBullet() ? Objects.toString(p.getBulletChar(), "") : null, "runs", runs, "numbering",
                !numbered ? null : List.of(e.getAutoNumberScheme() == null ? 3 : e.getAutoNumberScheme().nativeId,
                                           e.getAutoNumberStartNumber() == null ? 1 : e.getAutoNumberStartNumber())));
        }
        return out;
    }

    static String hex(Color c) {
        return c == null ? null : String.format("#%02x%02x%02x", c.getRed(), c.getGreen(), c.getBlue());
    }

    // Maps, lists, strings, booleans, numbers and null; NaN as null; control characters and
    // surrogates escaped, so that lone ones stay valid JSON.
    @SuppressWarnings("unchecked")
    static String json(Object o) {
        StringBuilder sb = new StringBuilder();
        if (o instanceof Map) {
            for (Map.Entry<String, Object> e : ((Map<String, Object>) o).entrySet())
                sb.append(sb.length() == 0 ? "{" : ",").append(json(e.getKey())).append(':').append(json(e.getValue()));
            return sb.length() == 0 ? "{}" : sb.append('}').toString();
        }
        if (o instanceof List) {
            for (Object x : (List<Object>) o) sb.append(sb.length() == 0 ? "[" : ",").append(json(x));
            return sb.length() == 0 ? "[]" : sb.append(']').toString();
        }
        if (o == null || o instanceof Double && !Double.isFinite((Double) o)) return "null";
        if (o instanceof Number || o instanceof Boolean) return o.toString();
        for (char ch : o.toString().toCharArray())
            sb.append(ch == '"' || ch == '\\' ? "\\" + ch : ch < 0x20 || Character.isSurrogate(ch)
                      ? String.format("\\u%04x", (int) ch) : String.valueOf(ch));
        return "\"" + sb + "\"";
    }
}
