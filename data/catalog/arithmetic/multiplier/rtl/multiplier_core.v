// Multiplier core of the multiplier IP. Parameters and ports follow the component
// file; the generated wrapper instantiates this module.
module multiplier_core #(
    parameter integer A_WIDTH = 18,
    parameter integer B_WIDTH = 18,
    // "signed" (two's complement operands) or "unsigned"
    parameter SIGNEDNESS = "signed",
    // registers after the product, all enabled by ce; 0 makes the core combinational
    parameter integer PIPELINE_STAGES = 3,
    // "dsp" or "logic": a mapping hint that synthesis reads from the mult_style
    // attribute; the function is the same
    parameter IMPLEMENTATION = "dsp"
) (
    input  wire                       clk,
    input  wire                       ce,
    input  wire [A_WIDTH-1:0]         a,
    input  wire [B_WIDTH-1:0]         b,
    output wire [A_WIDTH+B_WIDTH-1:0] p
);
    localparam integer PW = A_WIDTH + B_WIDTH;

    // Extend by one bit, with the sign or with zero, so that one signed product
    // serves both kinds of operand.
    wire msb_a = (SIGNEDNESS == "signed") ? a[A_WIDTH-1] : 1'b0;
    wire msb_b = (SIGNEDNESS == "signed") ? b[B_WIDTH-1] : 1'b0;
    wire signed [A_WIDTH:0] ea = {msb_a, a};
    wire signed [B_WIDTH:0] eb = {msb_b, b};
    wire signed [PW+1:0] full = ea * eb;
    wire [PW-1:0] product = full[PW-1:0];

    generate
        if (PIPELINE_STAGES == 0) begin : g_comb
            assign p = product;
        end else begin : g_pipe
            (* mult_style = IMPLEMENTATION *)
            reg [PW-1:0] stage[0:PIPELINE_STAGES-1];
            integer i;
            initial for (i = 0; i < PIPELINE_STAGES; i = i + 1) stage[i] = {PW{1'b0}};
            always @(posedge clk)
                if (ce) begin
                    stage[0] <= product;
                    for (i = 1; i < PIPELINE_STAGES; i = i + 1) stage[i] <= stage[i-1];
                end
            assign p = stage[PIPELINE_STAGES-1];
        end
    endgenerate
endmodule
