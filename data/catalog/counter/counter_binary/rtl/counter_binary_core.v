// Binary counter core of the counter_binary IP. Parameters and ports follow the
// component file; the generated wrapper instantiates this module.
module counter_binary_core #(
    parameter integer WIDTH = 16,
    // "up", "down" or "up_down" (then the up input chooses, 1 counting up)
    parameter DIRECTION = "up",
    // 1: load takes l into the counter on the next clock edge; 0: load is ignored
    parameter integer SYNC_LOAD = 0,
    // thresh0 is high while q equals this value (never, if q cannot hold it)
    parameter [63:0] THRESHOLD = 64'd255
) (
    input  wire             clk,
    input  wire             ce,
    input  wire             sclr,
    input  wire             load,
    input  wire             up,
    input  wire [WIDTH-1:0] l,
    output reg  [WIDTH-1:0] q,
    output wire             thresh0
);
    initial q = {WIDTH{1'b0}};

    wire count_up = (DIRECTION == "up") || (DIRECTION == "up_down" && up);

    always @(posedge clk) begin
        // Clear wins over load, load over counting; ce gates all but the clear.
        if (sclr)
            q <= {WIDTH{1'b0}};
        else if (ce) begin
            if (SYNC_LOAD != 0 && load)
                q <= l;
            else if (count_up)
                q <= q + 1'b1;
            else
                q <= q - 1'b1;
        end
    end

    // Compare at 65 bits so that a threshold beyond the counter's range never matches.
    assign thresh0 = ({{(65 - WIDTH) {1'b0}}, q} == {1'b0, THRESHOLD});
endmodule
